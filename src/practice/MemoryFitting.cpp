#include "practice/MemoryFitting.h"

#include "data/AnswerRepository.h"
#include "data/AttemptRepository.h"
#include "data/QuestionStore.h"
#include "practice/ReviewSchedule.h"

#include <QDateTime>
#include <QHash>

namespace MemoryFitting {

bool isDue(QuestionStore& store)
{
    const int attempts = AnswerRepository::attemptCount(store);
    if (attempts < MinimumAttempts)
        return false;
    const AnswerRepository::FittedWeights fitted = AnswerRepository::fittedWeights(store);
    return fitted.weights.isEmpty() || attempts >= fitted.attempts + fitted.attempts / 5;
}

FitResult fitBank(const QString& path, QString* error)
{
    QuestionStore store;
    if (!store.open(path, QuestionStore::Mode::ReadOnly)) {
        if (error)
            *error = store.failure().engineText;
        return {};
    }
    // 代码 compares without case in the bank.
    QHash<QString, int> indexOf;
    std::vector<AttemptHistory> histories;
    int attempts = 0;
    const bool read = AttemptRepository::each(
        store,
        [&](const AttemptRecord& a) {
            const QString id = a.key.code.toLower() + u'/' + a.key.number;
            auto it = indexOf.find(id);
            if (it == indexOf.end()) {
                it = indexOf.insert(id, int(histories.size()));
                histories.emplace_back();
            }
            const double day = double(ReviewSchedule::dayOf(QDateTime::fromSecsSinceEpoch(a.answeredAt)));
            histories[size_t(*it)].emplace_back(day, a.right);
            ++attempts;
        },
        error);
    if (!read)
        return {};
    FitOptions options;
    options.minAttempts = MinimumAttempts;
    FitResult result = MemoryFit::fit(histories, options);
    result.attempts = attempts;
    return result;
}

WriteResult keep(QuestionStore& store, const FitResult& result)
{
    AnswerRepository::FittedWeights fitted;
    fitted.attempts = result.attempts;
    // Weights no better than the published ones are kept as those: the fit is not tried
    // again until the attempts have grown.
    fitted.weights = QVector<double>(result.parameters.w.begin(), result.parameters.w.end());
    fitted.recallShift = result.recallShift;
    const WriteResult kept
        = store.writeTransaction([&] { return AnswerRepository::setFittedWeights(store, fitted); });
    if (!kept.isDone())
        return kept;
    return ReviewSchedule::rebuild(store, ReviewSchedule::currentModel(store));
}

} // namespace MemoryFitting
