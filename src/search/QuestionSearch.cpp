#include "search/QuestionSearch.h"

namespace QuestionSearch {

QuestionFilters::Selection selection(const Request& request)
{
    switch (request.mode) {
    case Mode::Done:
        return QuestionListRepository::searchAnswers(QuestionListRepository::Answers::Answered);
    case Mode::Wrong:
        return QuestionListRepository::searchAnswers(QuestionListRepository::Answers::Wrong);
    case Mode::Keyword:
        break;
    }
    return QuestionListRepository::searchKeyword(request.keyword, request.inStem, request.inOptions);
}

QuestionFilters::Selection hitsSelection(const std::vector<qint64>& rowids, int bankSize)
{
    return QuestionListRepository::searchHits(rowids, bankSize);
}

QString title()
{
    return QStringLiteral("当前题库中包含关键字的试题");
}

} // namespace QuestionSearch
