#include "practice/Favourites.h"

#include "data/QuestionStore.h"

namespace Favourites {

AddResult AddToFavourites(QuestionStore& store, const QuestionKey& key, QString* reason)
{
    // Only an unmarked row changes, so no row changed means marked already or not there.
    const WriteResult result
        = store.write(QStringLiteral("update tk set 收藏否=-1 where 代码=? AND 题号=? AND 收藏否<>-1"),
            { key.code, key.number });
    if (result.isFailed()) {
        *reason = result.reason();
        return AddResult::Failed;
    }
    return result.rows() > 0 ? AddResult::Added : AddResult::AlreadyFavourite;
}

WriteResult RemoveFromFavourites(QuestionStore& store, const QuestionKey& key)
{
    return store.write(
        QStringLiteral("update tk set 收藏否=0 where 代码=? AND 题号=?"), { key.code, key.number });
}

WriteResult ClearFavourites(QuestionStore& store)
{
    return store.write(QStringLiteral("update tk set 收藏否=0 where 收藏否=-1"));
}

} // namespace Favourites
