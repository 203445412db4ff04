#include "data/SearchTextRepository.h"

#include "data/BankTables.h"
#include "data/QuestionStore.h"

namespace SearchTextRepository {

bool eachExtract(QuestionStore& store,
    const std::function<void(qint64 rowid, QByteArrayView stem, QByteArrayView options)>& each,
    QString* error)
{
    namespace T = BankTables::Table;
    namespace C = BankTables::Column;
    // The extracts' own index holds both, so the pass never reads the long documents.
    static const QString sql
        = u"select rowid, " % C::StemExtract % u", " % C::OptionsExtract % u" from " % T::Questions;
    return store.stream(
        sql, {}, [&each](const StreamedRow& row) { each(row.integer(0), row.utf8(1), row.utf8(2)); }, error);
}

qint64 dataVersion(QuestionStore& store)
{
    return store.scalar(QStringLiteral("PRAGMA data_version")).toLongLong();
}

} // namespace SearchTextRepository
