#include "exam/ComposeExamPaper.h"

#include "data/BankSchema.h"
#include "data/QuestionStore.h"
#include "data/Settings.h"
#include "exam/WorkingSet.h"

#include <QSet>

#include <algorithm>
#include <chrono>
#include <unordered_set>

namespace {

// Question numbers of a paper are whole numbers from 0 up to this, exclusive.
constexpr int NumberRange = 100000;
constexpr qint64 MaxLookups = 2048;

struct Candidate
{
    qint64 rowid;
    QString code;
};

QSet<QString> leftOutCodes(QuestionStore& store, const QStringList& names, const ComposeProgress& progress)
{
    QSet<QString> codes;
    for (int i = 0; i < names.size(); ++i) {
        if (progress)
            progress(int(names.size()), i + 1);
        RowSet rows = store.query(QStringLiteral("select 代码 from smdm where 细目=?"), { names[i] });
        for (; !rows.atEnd(); rows.next())
            codes.insert(rows.field(0).toString().toLower()); // 代码 compares without Latin case
    }
    return codes;
}

bool isLeftOut(const QSet<QString>& leftOut, const QVariant& code)
{
    return !leftOut.isEmpty() && leftOut.contains(code.toString().toLower());
}

// Every row of one type in the chosen sections; a partial shuffle takes min(n, available).
QVector<qint64> drawFromAll(
    QuestionStore& store, const QString& type, int n, const QSet<QString>& leftOut, std::mt19937& generator)
{
    RowSet rows = store.query(QStringLiteral("select rowid, 代码 from tk where 题型=?"), { type });
    QVector<qint64> pool;
    pool.reserve(rows.rowCount());
    for (; !rows.atEnd(); rows.next()) {
        if (!isLeftOut(leftOut, rows.field(1)))
            pool.append(rows.field(0).toLongLong());
    }
    const int take = std::min(n, int(pool.size()));
    for (int i = 0; i < take; ++i) {
        std::uniform_int_distribution<int> pick(i, int(pool.size()) - 1);
        std::swap(pool[i], pool[pick(generator)]);
    }
    pool.resize(take);
    return pool;
}

// Reading every row of a type would cost a scan of the bank, so rowids are drawn at random
// and a row is kept when it is of a type still short, from a chosen section, and new: the
// rows kept of each type are a uniform sample of it. A type still short after the budget
// (rare, absent, or mostly left out) is then drawn from all its rows, which are few.
std::array<QVector<qint64>, QuestionType::SlotCount> draw(QuestionStore& store,
    const std::array<int, QuestionType::SlotCount>& wanted, const QSet<QString>& leftOut,
    std::mt19937& generator)
{
    std::array<QVector<qint64>, QuestionType::SlotCount> picked;
    int short_ = 0;
    for (int n : wanted)
        short_ += n;
    // Two subqueries: min and max together in one select would scan the whole table.
    RowSet bounds
        = store.query(QStringLiteral("select (select min(rowid) from tk), (select max(rowid) from tk)"));
    if (short_ > 0 && !bounds.atEnd() && !bounds.field(0).isNull()) {
        const qint64 first = bounds.field(0).toLongLong();
        const qint64 last = bounds.field(1).toLongLong();
        std::uniform_int_distribution<qint64> rowid(first, last);
        QSet<qint64> seen;
        // Enough look-ups for common types, bounded so that a large or rare ask costs no
        // more than reading the type's rows would.
        qint64 budget = std::min<qint64>({ 64 + 4 * qint64(short_), MaxLookups, 2 * (last - first + 1) });
        for (; budget > 0 && short_ > 0; --budget) {
            const qint64 id = rowid(generator);
            RowSet row = store.query(QStringLiteral("select 题型, 代码 from tk where rowid=?"), { id });
            if (row.atEnd())
                continue;
            const std::optional<QuestionType::TypeSlot> slot = QuestionType::slotOf(row.field(0).toString());
            if (!slot || picked[size_t(*slot)].size() >= wanted[size_t(*slot)]
                || isLeftOut(leftOut, row.field(1)) || seen.contains(id))
                continue;
            seen.insert(id);
            picked[size_t(*slot)].append(id);
            --short_;
        }
    }
    for (int slot = 0; slot < QuestionType::SlotCount; ++slot) {
        if (picked[size_t(slot)].size() < wanted[size_t(slot)])
            picked[size_t(slot)]
                = drawFromAll(store, QuestionType::slotName(slot), wanted[size_t(slot)], leftOut, generator);
    }
    return picked;
}

QString copyStatement()
{
    QStringList targets = BankSchema::questionColumns();
    QStringList sources;
    for (const QString& column : targets) {
        if (column == QStringLiteral("题号"))
            sources << QStringLiteral("?");
        else if (column == QStringLiteral("答题"))
            sources << QStringLiteral("''");
        else if (column == QStringLiteral("收藏否"))
            sources << QStringLiteral("-1");
        else
            sources << column;
    }
    return QStringLiteral("insert into kstk(%1) select %2 from tk where rowid=?")
        .arg(targets.join(QLatin1Char(',')), sources.join(QLatin1Char(',')));
}

} // namespace

int paperCount(const QString& text)
{
    return std::max(0, Settings::leadingNumber(text));
}

quint32 freshPaperSeed()
{
    std::random_device device;
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    return device() ^ quint32(ticks) ^ quint32(quint64(ticks) >> 32);
}

WriteResult ComposeExamPaper(
    QuestionStore& store, const ExamPaperRequest& request, const ComposeProgress& progress)
{
    std::mt19937 generator(request.seed ? *request.seed : freshPaperSeed());
    const QSet<QString> leftOut = leftOutCodes(store, request.deselectedSections, progress);

    std::array<int, QuestionType::SlotCount> wanted;
    for (int slot = 0; slot < QuestionType::SlotCount; ++slot)
        wanted[size_t(slot)] = paperCount(request.counts[size_t(slot)]);
    QVector<qint64> picked;
    const auto byType = draw(store, wanted, leftOut, generator);
    for (int slot = 0; slot < QuestionType::SlotCount; ++slot) {
        if (progress)
            progress(QuestionType::SlotCount, slot + 1);
        picked += byType[size_t(slot)];
    }
    if (picked.size() > NumberRange)
        return WriteResult::failed(
            QStringLiteral("试卷的题数超过了 %1 道，无法为每道题编号").arg(NumberRange));

    // Distinct numbers: the question view and the answers find a row by section and number.
    QVector<int> numbers;
    numbers.reserve(picked.size());
    std::unordered_set<int> used;
    std::uniform_int_distribution<int> number(0, NumberRange - 1);
    while (numbers.size() < picked.size()) {
        const int n = number(generator);
        if (used.insert(n).second) {
            numbers.append(n);
            if (progress)
                progress(int(picked.size()), int(numbers.size()));
        }
    }

    WriteResult result = WorkingSet::recreate(store);
    const QString copy = copyStatement();
    for (int i = 0; i < picked.size() && result.isDone(); ++i) {
        if (progress)
            progress(int(picked.size()), i + 1);
        result = store.write(copy, { numbers[i], picked[i] });
        if (result.isDone())
            result = store.write(QStringLiteral("insert into exam_source(代码, 题号, bank_number) "
                                                "select 代码, ?, 题号 from tk where rowid=?"),
                { numbers[i], picked[i] });
    }
    return result.isDone() ? WriteResult::done(int(picked.size())) : result;
}
