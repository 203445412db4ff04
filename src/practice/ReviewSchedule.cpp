#include "practice/ReviewSchedule.h"

#include "data/AttemptRepository.h"
#include "data/QuestionStore.h"
#include "data/Settings.h"
#include "memory/ReviewPlanner.h"

#include <QHash>

#include <limits>

namespace ReviewSchedule {

Clock systemClock()
{
    return [] { return QDateTime::currentDateTime(); };
}

qint64 dayOf(const QDateTime& moment)
{
    return moment.toLocalTime().date().toJulianDay();
}

Model currentModel(QuestionStore& store)
{
    Model model;
    model.target = Settings::reviewTarget() / 100.0;
    const QDate exam = Settings::examDate();
    model.examDay = exam.isValid() ? exam.toJulianDay() : 0;
    const QVector<double> fitted = AnswerRepository::fittedWeights(store).weights;
    model.parameters = MemoryParameters::fromWeights(fitted.constData(), size_t(fitted.size()));
    return model;
}

Entry next(const Model& model, const std::optional<Entry>& current, bool right, qint64 day)
{
    const Grade grade = gradeOf(right);
    const MemoryState state = current && current->hasMemory()
        ? MemoryModel::next(model.parameters, { current->stability, current->difficulty },
            double(qMax<qint64>(0, day - current->lastDay)), grade)
        : MemoryModel::first(model.parameters, grade);
    Entry entry;
    entry.stability = state.stability;
    entry.difficulty = state.difficulty;
    entry.lastDay = day;
    entry.firstRight = current ? current->firstRight : int(right);
    entry.dueDay = ReviewPlanner::dueDay({ state, day }, model.target, model.examDay);
    return entry;
}

std::optional<Entry> entry(QuestionStore& store, const QuestionKey& key)
{
    return AnswerRepository::reviewEntry(store, key);
}

WriteResult apply(QuestionStore& store, const QuestionKey& key, bool right, qint64 day, const Model& model)
{
    return AnswerRepository::setReviewEntry(store, key, next(model, entry(store, key), right, day));
}

int dueCount(QuestionStore& store, qint64 day)
{
    return AnswerRepository::dueCount(store, day, Settings::reviewCap());
}

bool needsRebuild(QuestionStore& store)
{
    if (AnswerRepository::hasEntryWithoutMemory(store))
        return true;
    return AnswerRepository::hasAttempts(store)
        && AnswerRepository::dueCount(store, std::numeric_limits<qint64>::max(), 1) == 0;
}

WriteResult rebuild(QuestionStore& store, const Model& model)
{
    // 代码 compares without case in the bank.
    QHash<QString, int> indexOf;
    QVector<QPair<QuestionKey, Entry>> entries;
    QString error;
    const bool read = AttemptRepository::each(
        store,
        [&](const AttemptRecord& a) {
            const QString id = a.key.code.toLower() + u'/' + a.key.number;
            const qint64 day = dayOf(QDateTime::fromSecsSinceEpoch(a.answeredAt));
            auto it = indexOf.find(id);
            if (it == indexOf.end()) {
                it = indexOf.insert(id, int(entries.size()));
                entries.append({ a.key, next(model, std::nullopt, a.right, day) });
            } else {
                Entry& e = entries[*it].second;
                e = next(model, e, a.right, day);
            }
        },
        &error);
    if (!read)
        return WriteResult::failed(StoreFailure { StoreFailure::Kind::Other, error });
    return store.writeTransaction([&] { return AnswerRepository::replaceSchedule(store, entries); });
}

} // namespace ReviewSchedule
