#include "practice/Favourites.h"

#include "data/AppState.h"
#include "data/QuestionStore.h"
#include "practice/QuestionRecord.h"

namespace Favourites {
AddResult AddToFavourites(QuestionStore& store, const AppState& state)
{
    QVariantList params;
    RowSet row = store.query(QuestionRecord::BankQuestionQuery(state, &params), params,
                             QuestionStore::Access::Updatable);
    if (!row.isValid() || row.atEnd() || row.field(QStringLiteral("收藏否")).toInt() == -1)
        return AddResult::AlreadyFavourite;
    row.setField(QStringLiteral("收藏否"), -1);
    row.commit();
    return AddResult::Added;
}

bool RemoveFromFavourites(QuestionStore& store, const AppState& state)
{
    return store.execute(QStringLiteral("update tk set 收藏否=0 where 代码=? AND 题号=?"),
                         { state.SectionCode, state.QuestionNo });
}

bool ClearFavourites(QuestionStore& store)
{
    return store.execute(QStringLiteral("update tk set 收藏否=0 where 收藏否=-1"));
}

} // namespace Favourites
