#pragma once

#include "catalogue/QuestionFilters.h"

#include <QString>

#include <vector>

/// The statements behind the search dialog: a keyword in the stem or option extracts
/// of every question of the bank, every answered question, or every wrong one.
namespace QuestionSearch {

enum class Mode
{
    Keyword,
    Done,
    Wrong
};

struct Request
{
    Mode mode = Mode::Keyword;
    QString keyword;
    bool inStem = true; ///< tg, the stem extract
    bool inOptions = false; ///< xx, the option extract
};

/// The selection for @p request, with the keyword bound as it was typed. A keyword
/// search that names neither extract has no selection: the statement is empty.
QuestionFilters::Selection selection(const Request& request);

/// The list rows of the questions with the given rowids, in the order of the keyword
/// statement. @p bankSize (questions in tk) picks between looking each one up and one
/// pass over the list index.
QuestionFilters::Selection hitsSelection(const std::vector<qint64>& rowids, int bankSize);

/// The list title after any search.
QString title();

} // namespace QuestionSearch
