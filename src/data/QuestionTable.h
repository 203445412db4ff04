#pragma once

#include "data/BankTables.h"

#include <QString>

/// The two tables a question can live in: the bank itself and the working set of a
/// mock exam or a graded section. Both have the same columns.
enum class QuestionTable
{
    Bank,
    WorkingSet
};

/// "tk" or "kstk".
inline QString tableName(QuestionTable table)
{
    return (table == QuestionTable::WorkingSet ? BankTables::Table::WorkingSet : BankTables::Table::Questions)
        .toString();
}

/// A question's key: its section code and its number within the section.
struct QuestionKey
{
    QString code; ///< 代码
    QString number; ///< 题号

    bool isValid() const { return !code.isEmpty() && !number.isEmpty(); }
};
