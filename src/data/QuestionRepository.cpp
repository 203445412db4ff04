#include "data/QuestionRepository.h"

#include "data/BankTables.h"
#include "data/QuestionStore.h"

namespace QuestionRepository {
namespace {

namespace T = BankTables::Table;
namespace C = BankTables::Column;
using BankTables::byKey;

// Qt 6 binds a null QString as '', not as NULL.
QVariant orNull(const QString& text)
{
    return text.isNull() ? QVariant() : QVariant(text);
}

} // namespace

std::optional<StoredQuestion> read(QuestionStore& store, QuestionTable table, const QuestionKey& key)
{
    RowSet row = store.query(u"select * from " % tableName(table) % byKey(), { key.code, key.number });
    if (!row.isValid() || row.atEnd())
        return std::nullopt;
    const auto field = [&row](QStringView column) { return row.field(column.toString()); };
    StoredQuestion q;
    q.code = field(C::Code).toString();
    q.number = field(C::Number).toString();
    q.type = field(C::Type).toString();
    q.answer = field(C::Key).toString();
    q.given = field(C::Given);
    q.favourite = field(C::Favourite).toInt() == -1;
    q.document = field(C::Document).toString();
    q.notes = field(C::Notes);
    q.picture = field(C::Picture);
    return q;
}

WriteResult markFavourite(QuestionStore& store, const QuestionKey& key)
{
    static const QString sql = u"update " % T::Questions % u" set " % C::Favourite % u"=-1" % byKey()
        % u" AND " % C::Favourite % u"<>-1";
    return store.write(sql, { key.code, key.number });
}

WriteResult unmarkFavourite(QuestionStore& store, const QuestionKey& key)
{
    static const QString sql = u"update " % T::Questions % u" set " % C::Favourite % u"=0" % byKey();
    return store.write(sql, { key.code, key.number });
}

WriteResult clearFavourites(QuestionStore& store)
{
    static const QString sql
        = u"update " % T::Questions % u" set " % C::Favourite % u"=0 where " % C::Favourite % u"=-1";
    return store.write(sql);
}

WriteResult setNotes(QuestionStore& store, const QuestionKey& key, const QString& notes)
{
    static const QString sql = u"update " % T::Questions % u" set " % C::Notes % u"=?" % byKey();
    return store.write(sql, { notes, key.code, key.number });
}

WriteResult change(QuestionStore& store, const QuestionKey& key, const QuestionChanges& changes)
{
    static const QString sql = u"update " % T::Questions % u" set " % C::Document % u"=?, " % C::Key % u"=?, "
        % C::OptionsExtract % u"=?, " % C::StemExtract % u"=?, " % C::Notes % u"=?, " % C::Type % u"=?"
        % byKey();
    return store.write(sql,
        { changes.document, changes.answer, changes.extract, changes.extract, changes.notes, changes.type,
            key.code, key.number });
}

int nextNumber(QuestionStore& store, const QString& code)
{
    // One past the largest number: a count could repeat a number left by a gap.
    static const QString sql
        = u"select ifnull(max(" % C::Number % u"),0)+1 from " % T::Questions % u" where " % C::Code % u"=?";
    return store.scalar(sql, { code }).toInt();
}

qint64 lastOrder(QuestionStore& store)
{
    static const QString sql = u"select ifnull(max(" % C::Order % u"),0) from " % T::Questions;
    return store.scalar(sql).toLongLong();
}

WriteResult insert(QuestionStore& store, const NewQuestion& question)
{
    const QVariantList values { question.code, question.number, question.type, question.answer,
        question.favourite ? -1 : 0, question.extract, question.extract, question.document,
        orNull(question.stem), orNull(question.notes) };
    const QString into = u"insert into " % T::Questions % u"(" % C::Code % u", " % C::Number % u", " % C::Type
        % u", " % C::Key % u", " % C::Favourite % u", ";
    if (question.order.isNull()) {
        static const QString sql = into % C::Order % u", " % C::StemExtract % u", " % C::OptionsExtract
            % u", " % C::Document % u", " % C::Stem % u", " % C::Notes
            % u") values(?,?,?,?,?,(select ifnull(max(" % C::Order % u"),0)+1 from " % T::Questions
            % u"),?,?,?,?,?)";
        return store.write(sql, values);
    }
    static const QString sql = into % C::StemExtract % u", " % C::OptionsExtract % u", " % C::Document % u", "
        % C::Stem % u", " % C::Notes % u", " % C::Order % u") values(?,?,?,?,?,?,?,?,?,?,?)";
    return store.write(sql, values + QVariantList { question.order });
}

} // namespace QuestionRepository
