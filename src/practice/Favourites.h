#pragma once

class QuestionStore;
struct AppState;

/// The favourite marks (收藏否) of the question bank. They always live in tk, also
/// while an exam runs: the working set uses the same field for its own purpose.
namespace Favourites {

enum class AddResult { Added, AlreadyFavourite };

/// Marks the current question. A question that cannot be read counts as marked already.
AddResult AddToFavourites(QuestionStore& store, const AppState& state);

/// Clears the current question's mark, whether it had one or not.
bool RemoveFromFavourites(QuestionStore& store, const AppState& state);

/// Clears every mark of the bank.
bool ClearFavourites(QuestionStore& store);

} // namespace Favourites
