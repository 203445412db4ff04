#include "exam/QuestionSet.h"

#include "data/QuestionListRepository.h"

namespace QuestionSet {

RowSet open(QuestionStore& store, QuestionTable table, const QString& sectionCode)
{
    return QuestionListRepository::questionSet(store, table, sectionCode);
}

} // namespace QuestionSet
