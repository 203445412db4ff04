#include "exam/WorkingSet.h"

#include "data/ExamPaperRepository.h"
#include "data/QuestionStore.h"

namespace WorkingSet {

WriteResult recreate(QuestionStore& store)
{
    return ExamPaperRepository::recreateWorkingSet(store);
}

WriteResult fillFromBank(QuestionStore& store, const QString& sectionCode)
{
    const WriteResult made = recreate(store);
    if (!made.isDone())
        return made;
    return ExamPaperRepository::copyToWorkingSet(store, sectionCode);
}

WriteResult copyFromBank(QuestionStore& store, const QString& sectionCode)
{
    return store.writeTransaction([&] { return fillFromBank(store, sectionCode); });
}

} // namespace WorkingSet
