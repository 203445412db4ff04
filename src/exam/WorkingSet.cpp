#include "exam/WorkingSet.h"

#include "data/BankSchema.h"
#include "data/QuestionStore.h"

namespace WorkingSet {

WriteResult recreate(QuestionStore& store)
{
    // The bank numbers of the paper before belong to its rows only.
    WriteResult result = store.write(QStringLiteral("delete from exam_source"));
    if (result.isDone())
        result = store.write(QStringLiteral("drop table if exists kstk"));
    for (const QString& statement : BankSchema::questionTableStatements(QStringLiteral("kstk"))) {
        if (!result.isDone())
            break;
        result = store.write(statement);
    }
    return result;
}

WriteResult fillFromBank(QuestionStore& store, const QString& sectionCode)
{
    const WriteResult made = recreate(store);
    if (!made.isDone())
        return made;
    if (sectionCode.isNull())
        return store.write(QStringLiteral("insert into kstk select * from tk"));
    return store.write(QStringLiteral("insert into kstk select * from tk where 代码=?"), { sectionCode });
}

WriteResult copyFromBank(QuestionStore& store, const QString& sectionCode)
{
    return store.writeTransaction([&] { return fillFromBank(store, sectionCode); });
}

} // namespace WorkingSet
