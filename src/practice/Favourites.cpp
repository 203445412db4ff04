#include "practice/Favourites.h"

#include "data/QuestionRepository.h"

namespace Favourites {

AddResult AddToFavourites(QuestionStore& store, const QuestionKey& key, WriteResult* failed)
{
    // Only an unmarked row changes, so no row changed means marked already or not there.
    const WriteResult result = QuestionRepository::markFavourite(store, key);
    if (result.isFailed()) {
        *failed = result;
        return AddResult::Failed;
    }
    return result.rows() > 0 ? AddResult::Added : AddResult::AlreadyFavourite;
}

WriteResult RemoveFromFavourites(QuestionStore& store, const QuestionKey& key)
{
    return QuestionRepository::unmarkFavourite(store, key);
}

WriteResult ClearFavourites(QuestionStore& store)
{
    return QuestionRepository::clearFavourites(store);
}

} // namespace Favourites
