#pragma once

#include <QString>

/// How the rows of a listing are numbered: a row is one question, except that a grouped
/// row (B, A3, A4) stands for as many questions as its key has characters. The question
/// list, the score report and the exam paper all number by this.
namespace QuestionNumbering {

/// The numbers a row stands for: one, or a grouped row's first to last.
struct Range
{
    int first = 0;
    int last = 0;
    bool grouped = false;
};

/// The numbers of the row at 1-based position @p p in its listing, given the numbers
/// taken by grouped rows before it (@p offset, updated).
Range range(int p, const QString& type, const QString& answer, int* offset);
/// The same numbers as the list shows them: "第3题", or "第3题--第5题" for a grouped row.
QString text(int p, const QString& type, const QString& answer, int* offset);

} // namespace QuestionNumbering
