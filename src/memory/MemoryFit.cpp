#include "memory/MemoryFit.h"

#include "memory/MemoryFormulas.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

namespace {

using MemoryFormulas::Weights;
constexpr int N = MemoryParameters::Count;

// Predictions this close to certainty would let one surprise outweigh everything else.
constexpr double MinPredicted = 1e-4;
constexpr double MaxPredicted = 1 - 1e-4;

// A value with its derivatives by each weight: the fit's gradient comes out of one pass
// through the histories, exact, instead of one pass per weight.
struct Dual
{
    double v = 0;
    std::array<double, N> d {};

    Dual() = default;
    // Implicit, so that constants mix into the formulas as they are written.
    Dual(double value)
        : v(value)
    { }
};

double valueOf(const Dual& x)
{
    return x.v;
}

// value, with derivative ca·a' + cb·b'
Dual linear(double value, double ca, const Dual& a, double cb, const Dual& b)
{
    Dual r(value);
    for (int i = 0; i < N; ++i)
        r.d[size_t(i)] = ca * a.d[size_t(i)] + cb * b.d[size_t(i)];
    return r;
}

// value, with derivative c·a'
Dual scaled(double value, double c, const Dual& a)
{
    return linear(value, c, a, 0, Dual());
}

Dual operator+(const Dual& a, const Dual& b)
{
    return linear(a.v + b.v, 1, a, 1, b);
}
Dual operator-(const Dual& a, const Dual& b)
{
    return linear(a.v - b.v, 1, a, -1, b);
}
Dual operator*(const Dual& a, const Dual& b)
{
    return linear(a.v * b.v, b.v, a, a.v, b);
}
Dual operator/(const Dual& a, const Dual& b)
{
    const double q = a.v / b.v;
    return linear(q, 1 / b.v, a, -q / b.v, b);
}
Dual operator-(const Dual& a)
{
    return scaled(-a.v, -1, a);
}
Dual exp(const Dual& a)
{
    const double e = std::exp(a.v);
    return scaled(e, e, a);
}
Dual pow(const Dual& a, double p)
{
    return scaled(std::pow(a.v, p), p * std::pow(a.v, p - 1), a);
}
Dual pow(const Dual& a, const Dual& b)
{
    const double p = std::pow(a.v, b.v);
    return linear(p, p * b.v / a.v, a, p * std::log(a.v), b);
}

// Calls visit(predicted recall, right) for each review of @p history on or after
// @p fromDay that the curve can predict: not the first attempt, not one less than a day
// after the attempt before.
template <typename T, typename Visit>
void walkReviews(const Weights<T>& w, const AttemptHistory& history, double fromDay, Visit visit)
{
    if (history.empty())
        return;
    auto state = MemoryFormulas::firstState(w, int(history.front().grade));
    for (size_t k = 1; k < history.size(); ++k) {
        const double elapsed = history[k].day - history[k - 1].day;
        if (elapsed >= 1.0 && history[k].day >= fromDay)
            visit(MemoryFormulas::recall(state.stability, elapsed), history[k].right());
        state = MemoryFormulas::nextState(w, state, elapsed, int(history[k].grade));
    }
}

double lossOf(double predicted, bool right)
{
    const double p = std::clamp(predicted, MinPredicted, MaxPredicted);
    return right ? -std::log(p) : -std::log(1 - p);
}

int reviewCount(const AttemptHistory& history)
{
    int count = 0;
    walkReviews(MemoryParameters::defaults().w, history, -std::numeric_limits<double>::infinity(),
        [&](double, bool) { ++count; });
    return count;
}

// How far each weight may sensibly move: half its default, and no less than a small step.
std::array<double, N> scales(const MemoryParameters& defaults)
{
    std::array<double, N> result {};
    for (size_t i = 0; i < result.size(); ++i)
        result[i] = std::max(0.5 * std::abs(defaults.w[i]), 0.02);
    return result;
}

class Objective
{
public:
    Objective(const std::vector<AttemptHistory>& histories, const std::vector<size_t>& chosen, int reviews,
        double priorReviews)
        : m_histories(histories)
        , m_chosen(chosen)
        , m_reviews(reviews)
        , m_prior(priorReviews)
        , m_defaults(MemoryParameters::defaults())
        , m_scales(scales(m_defaults))
    { }

    double meanLoss(const MemoryParameters& parameters) const
    {
        double sum = 0;
        for (size_t q : m_chosen)
            walkReviews(parameters.w, m_histories[q], -std::numeric_limits<double>::infinity(),
                [&](double predicted, bool right) { sum += lossOf(predicted, right); });
        return sum / m_reviews;
    }

    double penalty(const MemoryParameters& parameters) const
    {
        double sum = 0;
        for (size_t i = 0; i < size_t(N); ++i) {
            const double z = (parameters.w[i] - m_defaults.w[i]) / m_scales[i];
            sum += z * z;
        }
        return m_prior / m_reviews * sum;
    }

    double value(const MemoryParameters& parameters) const
    {
        return meanLoss(parameters) + penalty(parameters);
    }

    // The gradient over one batch of questions, by each weight divided by its scale.
    std::array<double, N> scaledGradient(
        const MemoryParameters& parameters, const size_t* first, const size_t* last) const
    {
        Weights<Dual> w;
        for (size_t i = 0; i < size_t(N); ++i) {
            w[i] = Dual(parameters.w[i]);
            w[i].d[i] = 1;
        }
        std::array<double, N> gradient {};
        int count = 0;
        for (const size_t* q = first; q != last; ++q)
            walkReviews(w, m_histories[*q], -std::numeric_limits<double>::infinity(),
                [&](const Dual& predicted, bool right) {
                    ++count;
                    if (predicted.v < MinPredicted || predicted.v > MaxPredicted)
                        return;
                    const double slope = right ? -1 / predicted.v : 1 / (1 - predicted.v);
                    for (size_t i = 0; i < size_t(N); ++i)
                        gradient[i] += slope * predicted.d[i];
                });
        for (size_t i = 0; i < size_t(N); ++i) {
            const double data = count > 0 ? gradient[i] / count : 0;
            const double prior
                = 2 * m_prior / m_reviews * (parameters.w[i] - m_defaults.w[i]) / (m_scales[i] * m_scales[i]);
            gradient[i] = (data + prior) * m_scales[i];
        }
        return gradient;
    }

    double scale(size_t i) const { return m_scales[i]; }

private:
    const std::vector<AttemptHistory>& m_histories;
    const std::vector<size_t>& m_chosen;
    int m_reviews;
    double m_prior;
    MemoryParameters m_defaults;
    std::array<double, N> m_scales;
};

// Adam, the usual choice for noisy batch gradients, on the scaled weights, with a step that
// shrinks to nothing over the run (cosine) so that the last batches do not throw it off.
MemoryParameters descend(
    const Objective& objective, std::vector<size_t>& chosen, const FitOptions& options, std::mt19937& random)
{
    constexpr double Beta1 = 0.9;
    constexpr double Beta2 = 0.999;
    constexpr double Epsilon = 1e-8;
    const MemoryParameters low = MemoryParameters::lowest();
    const MemoryParameters high = MemoryParameters::highest();
    const double pi = std::acos(-1.0);
    MemoryParameters x = MemoryParameters::defaults();
    std::array<double, N> m {};
    std::array<double, N> v {};
    const size_t batch = size_t(std::max(1, options.batchQuestions));
    size_t position = chosen.size();
    for (int step = 0; step < options.steps; ++step) {
        if (position >= chosen.size()) {
            std::shuffle(chosen.begin(), chosen.end(), random);
            position = 0;
        }
        const size_t end = std::min(chosen.size(), position + batch);
        const std::array<double, N> g
            = objective.scaledGradient(x, chosen.data() + position, chosen.data() + end);
        position = end;
        const double rate = options.learningRate * 0.5 * (1 + std::cos(pi * step / options.steps));
        const double correction1 = 1 - std::pow(Beta1, step + 1);
        const double correction2 = 1 - std::pow(Beta2, step + 1);
        for (size_t i = 0; i < size_t(N); ++i) {
            m[i] = Beta1 * m[i] + (1 - Beta1) * g[i];
            v[i] = Beta2 * v[i] + (1 - Beta2) * g[i] * g[i];
            const double move = rate * (m[i] / correction1) / (std::sqrt(v[i] / correction2) + Epsilon);
            x.w[i] = std::clamp(x.w[i] - move * objective.scale(i), low.w[i], high.w[i]);
        }
    }
    return x;
}

} // namespace

namespace MemoryFit {

FitResult fit(const std::vector<AttemptHistory>& histories, const FitOptions& options)
{
    FitResult result;
    for (const AttemptHistory& history : histories)
        result.attempts += int(history.size());
    if (result.attempts < options.minAttempts)
        return result;

    std::mt19937 random(options.seed);
    std::vector<size_t> order(histories.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::shuffle(order.begin(), order.end(), random);
    std::vector<size_t> chosen;
    int reviews = 0;
    for (size_t q : order) {
        if (reviews >= options.maxReviews)
            break;
        const int count = reviewCount(histories[q]);
        if (count > 0) {
            chosen.push_back(q);
            reviews += count;
        }
    }
    if (reviews == 0)
        return result;

    result.fitted = true;
    result.reviewsUsed = reviews;
    const Objective objective(histories, chosen, reviews, options.priorReviews);
    std::vector<size_t> batches = chosen;
    const MemoryParameters fitted = descend(objective, batches, options, random);
    const MemoryParameters defaults = MemoryParameters::defaults();
    if (objective.value(fitted) < objective.value(defaults))
        result.parameters = fitted;
    result.logLossBefore = objective.meanLoss(defaults);
    result.logLossAfter = objective.meanLoss(result.parameters);
    result.recallShift = recallShift(result.parameters, histories);
    return result;
}

double recallShift(const MemoryParameters& parameters, const std::vector<AttemptHistory>& histories)
{
    std::vector<double> logits;
    double right = 0;
    for (const AttemptHistory& history : histories) {
        if (history.empty())
            continue;
        MemoryState state = MemoryModel::first(parameters, history.front().grade);
        for (size_t k = 1; k < history.size(); ++k) {
            const double elapsed = history[k].day - history[k - 1].day;
            const double p = std::clamp(MemoryModel::recall(state, elapsed), 1e-6, 1 - 1e-6);
            logits.push_back(std::log(p / (1 - p)));
            right += history[k].right() ? 1 : 0;
            state = MemoryModel::next(parameters, state, elapsed, history[k].grade);
        }
    }
    if (logits.empty())
        return 0;
    // Newton's method on the one shift; the sum of chances grows with it.
    double shift = 0;
    for (int step = 0; step < 50; ++step) {
        double sum = 0, slope = 0;
        for (double l : logits) {
            const double p = 1 / (1 + std::exp(-(l + shift)));
            sum += p;
            slope += p * (1 - p);
        }
        const double move = (right - sum) / std::max(slope, 1e-9);
        shift = std::clamp(shift + move, -3.0, 3.0);
        if (std::abs(move) < 1e-9)
            break;
    }
    return shift;
}

Evaluation evaluate(const MemoryParameters& parameters, const std::vector<AttemptHistory>& histories,
    double fromDay, int bins)
{
    Evaluation result;
    bins = std::max(1, bins);
    result.calibration.resize(size_t(bins));
    for (int b = 0; b < bins; ++b) {
        result.calibration[size_t(b)].low = double(b) / bins;
        result.calibration[size_t(b)].high = double(b + 1) / bins;
    }
    double loss = 0;
    for (const AttemptHistory& history : histories)
        walkReviews(parameters.w, history, fromDay, [&](double predicted, bool right) {
            ++result.reviews;
            loss += lossOf(predicted, right);
            CalibrationBin& bin = result.calibration[size_t(std::clamp(int(predicted * bins), 0, bins - 1))];
            ++bin.count;
            bin.meanPredicted += predicted;
            bin.observedRate += right ? 1 : 0;
        });
    if (result.reviews > 0)
        result.logLoss = loss / result.reviews;
    for (CalibrationBin& bin : result.calibration) {
        if (bin.count > 0) {
            bin.meanPredicted /= bin.count;
            bin.observedRate /= bin.count;
        }
    }
    return result;
}

MemoryState replay(const MemoryParameters& parameters, const AttemptHistory& history)
{
    if (history.empty())
        return {};
    MemoryState state = MemoryModel::first(parameters, history.front().grade);
    for (size_t k = 1; k < history.size(); ++k)
        state = MemoryModel::next(parameters, state, history[k].day - history[k - 1].day, history[k].grade);
    return state;
}

} // namespace MemoryFit
