#pragma once

#include <QTextStream>

class QuestionStore;

/// Prints a bank's catalogue, indented by level, with the number of questions of
/// each section, and the totals per question type.
void printBankReport(QuestionStore& store, QTextStream& out);
