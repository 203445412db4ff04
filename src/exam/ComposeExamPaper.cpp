#include "exam/ComposeExamPaper.h"

#include "data/CatalogueRepository.h"
#include "data/ExamPaperRepository.h"
#include "data/QuestionStore.h"
#include "data/Settings.h"
#include "exam/WorkingSet.h"

#include <QSet>

#include <algorithm>
#include <chrono>
#include <limits>
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
        for (const QString& code : CatalogueRepository::sectionCodes(store, names[i]))
            codes.insert(code.toLower()); // 代码 compares without Latin case
    }
    return codes;
}

bool isLeftOut(const QSet<QString>& leftOut, const QString& code)
{
    return !leftOut.isEmpty() && leftOut.contains(code.toLower());
}

// A partial shuffle: min(n, available) of @p pool, uniformly.
QVector<qint64> takeAtRandom(QVector<qint64>& pool, int n, std::mt19937& generator)
{
    const int take = std::min(n, int(pool.size()));
    for (int i = 0; i < take; ++i) {
        std::uniform_int_distribution<int> pick(i, int(pool.size()) - 1);
        std::swap(pool[i], pool[pick(generator)]);
    }
    pool.resize(take);
    return pool;
}

// Every row of one type in the chosen sections, min(n, available) of them.
QVector<qint64> drawFromAll(
    QuestionStore& store, const QString& type, int n, const QSet<QString>& leftOut, std::mt19937& generator)
{
    const QVector<PaperCandidate> candidates = ExamPaperRepository::candidatesOfType(store, type);
    QVector<qint64> pool;
    pool.reserve(candidates.size());
    for (const PaperCandidate& candidate : candidates) {
        if (!isLeftOut(leftOut, candidate.code))
            pool.append(candidate.rowid);
    }
    return takeAtRandom(pool, n, generator);
}

// An answered question by when it was last practised, a day the schedule does not know
// first; the random number breaks ties.
struct Practised
{
    qint64 day;
    quint32 tie;
    qint64 rowid;

    bool operator<(const Practised& other) const
    {
        return day != other.day ? day < other.day : tie < other.tie;
    }
};

// One pass over the questions of the types still short: per slot every never answered
// one, and the least recently practised kept in a heap no larger than the count.
void drawUnseenFromAll(QuestionStore& store, const std::array<int, QuestionType::SlotCount>& wanted,
    const QSet<QString>& leftOut, std::mt19937& generator,
    std::array<QVector<qint64>, QuestionType::SlotCount>& picked)
{
    QStringList types;
    for (int slot = 0; slot < QuestionType::SlotCount; ++slot) {
        if (picked[size_t(slot)].size() < wanted[size_t(slot)])
            types << QuestionType::slotName(slot);
    }
    std::array<QVector<qint64>, QuestionType::SlotCount> unseen;
    std::array<std::vector<Practised>, QuestionType::SlotCount> oldest;
    ExamPaperRepository::eachCandidateUse(store, types, [&](const PaperCandidateUse& c) {
        const std::optional<QuestionType::TypeSlot> slot = c.slot;
        if (!leftOut.isEmpty() && isLeftOut(leftOut, QString::fromUtf8(c.code)))
            return;
        if (!c.answered) {
            unseen[size_t(*slot)].append(c.rowid);
            return;
        }
        std::vector<Practised>& heap = oldest[size_t(*slot)];
        const Practised p { c.lastDay.value_or(std::numeric_limits<qint64>::min()), quint32(generator()),
            c.rowid };
        if (int(heap.size()) < wanted[size_t(*slot)]) {
            heap.push_back(p);
            std::push_heap(heap.begin(), heap.end());
        } else if (!heap.empty() && p < heap.front()) {
            std::pop_heap(heap.begin(), heap.end());
            heap.back() = p;
            std::push_heap(heap.begin(), heap.end());
        }
    });
    for (const QString& type : types) {
        const auto slot = size_t(*QuestionType::slotOf(type));
        const int n = wanted[slot];
        if (unseen[slot].size() >= n) {
            picked[slot] = takeAtRandom(unseen[slot], n, generator);
            continue;
        }
        std::sort_heap(oldest[slot].begin(), oldest[slot].end());
        picked[slot] = unseen[slot];
        for (size_t i = 0; i < oldest[slot].size() && picked[slot].size() < n; ++i)
            picked[slot].append(oldest[slot][i].rowid);
    }
}

// Reading every row of a type would cost a scan of the bank, so rowids are drawn at random
// and a row is kept when it is of a type still short, from a chosen section, and new: the
// rows kept of each type are a uniform sample of it. A type still short after the budget
// (rare, absent, or mostly left out) is then drawn from all its rows, which are few. With
// @p unseenFirst only never answered rows are kept; the types still short then need all their
// rows, to find the last never answered ones and the least recently practised.
std::array<QVector<qint64>, QuestionType::SlotCount> draw(QuestionStore& store,
    const std::array<int, QuestionType::SlotCount>& wanted, const QSet<QString>& leftOut,
    std::mt19937& generator, bool unseenFirst)
{
    std::array<QVector<qint64>, QuestionType::SlotCount> picked;
    int short_ = 0;
    for (int n : wanted)
        short_ += n;
    const auto bounds = ExamPaperRepository::rowidRange(store);
    if (short_ > 0 && bounds) {
        const auto [first, last] = *bounds;
        std::uniform_int_distribution<qint64> rowid(first, last);
        QSet<qint64> seen;
        // Enough look-ups for common types, bounded so that a large or rare ask costs no
        // more than reading the type's rows would.
        qint64 budget = std::min<qint64>({ 64 + 4 * qint64(short_), MaxLookups, 2 * (last - first + 1) });
        for (; budget > 0 && short_ > 0; --budget) {
            const qint64 id = rowid(generator);
            const std::optional<PaperCandidate> row = ExamPaperRepository::candidateAt(store, id);
            if (!row)
                continue;
            const std::optional<QuestionType::TypeSlot> slot = QuestionType::slotOf(row->type);
            if (!slot || picked[size_t(*slot)].size() >= wanted[size_t(*slot)]
                || isLeftOut(leftOut, row->code) || seen.contains(id)
                || (unseenFirst && ExamPaperRepository::wasAnswered(store, id)))
                continue;
            seen.insert(id);
            picked[size_t(*slot)].append(id);
            --short_;
        }
    }
    if (unseenFirst) {
        drawUnseenFromAll(store, wanted, leftOut, generator, picked);
        return picked;
    }
    for (int slot = 0; slot < QuestionType::SlotCount; ++slot) {
        if (picked[size_t(slot)].size() < wanted[size_t(slot)])
            picked[size_t(slot)]
                = drawFromAll(store, QuestionType::slotName(slot), wanted[size_t(slot)], leftOut, generator);
    }
    return picked;
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
    const auto byType = draw(store, wanted, leftOut, generator, request.unseenFirst);
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
    for (int i = 0; i < picked.size() && result.isDone(); ++i) {
        if (progress)
            progress(int(picked.size()), i + 1);
        result = ExamPaperRepository::addToPaper(store, picked[i], numbers[i]);
    }
    return result.isDone() ? WriteResult::done(int(picked.size())) : result;
}
