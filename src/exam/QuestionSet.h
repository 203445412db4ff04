#pragma once

#include "data/QuestionTable.h"
#include "data/RowSet.h"

#include <QString>

class QuestionStore;

/// The questions a grading, the score report and the exam paper go through: the whole
/// working set during an exam, otherwise one section of the bank, by type and sj as the
/// question list orders them.
namespace QuestionSet {

/// The whole of @p table when it is the working set, else the rows of @p sectionCode in the bank.
RowSet open(QuestionStore& store, QuestionTable table, const QString& sectionCode);

} // namespace QuestionSet
