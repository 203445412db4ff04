#include "catalogue/QuestionNumbering.h"

#include "data/QuestionType.h"

namespace QuestionNumbering {

Range range(int p, const QString& type, const QString& answer, int* offset)
{
    // A grouped row without answer letters stands for one question; counting it by an
    // empty answer would number the rows after it backwards.
    if (QuestionType::isGrouped(type) && !answer.isEmpty()) {
        const int length = int(answer.size());
        const Range grouped { *offset + p, *offset + p + length - 1, true };
        *offset += length - 1;
        return grouped;
    }
    return { *offset + p, *offset + p, false };
}

QString text(int p, const QString& type, const QString& answer, int* offset)
{
    const Range numbers = range(p, type, answer, offset);
    if (numbers.grouped)
        return u"第" + QString::number(numbers.first) + u"题--第" + QString::number(numbers.last) + u"题";
    return u"第" + QString::number(numbers.first) + u"题";
}

} // namespace QuestionNumbering
