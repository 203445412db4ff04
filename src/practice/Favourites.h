#pragma once

#include "data/QuestionTable.h"
#include "data/WriteResult.h"

class QuestionStore;

/// The favourite marks (收藏否) of the question bank. They always live in tk, also
/// while an exam runs: the working set uses the same field for its own purpose.
namespace Favourites {

enum class AddResult
{
    Added,
    AlreadyFavourite,
    Failed
};

/// Marks question @p key. A question that cannot be found counts as marked already;
/// @p failed receives the write that failed.
AddResult AddToFavourites(QuestionStore& store, const QuestionKey& key, WriteResult* failed);

/// Clears the mark of question @p key, whether it had one or not.
WriteResult RemoveFromFavourites(QuestionStore& store, const QuestionKey& key);

/// Clears every mark of the bank.
WriteResult ClearFavourites(QuestionStore& store);

} // namespace Favourites
