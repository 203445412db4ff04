#include "forecast/ScoreDistribution.h"

#include <algorithm>
#include <cmath>

ScoreDistribution::ScoreDistribution()
    : m_chances { 1.0 }
{ }

void ScoreDistribution::addQuestion(double chance, int points)
{
    const double p = std::clamp(chance, 0.0, 1.0);
    convolve({ 1 - p, p }, points);
}

void ScoreDistribution::addQuestions(int count, double chance, int points)
{
    if (count <= 0)
        return;
    const double p = std::clamp(chance, 0.0, 1.0);
    QVector<double> law(count + 1, 0.0);
    if (p <= 0) {
        law[0] = 1;
    } else if (p >= 1) {
        law[count] = 1;
    } else {
        // In logarithms: a paper of hundreds of questions underflows the plain products.
        const double lp = std::log(p), lq = std::log1p(-p);
        for (int k = 0; k <= count; ++k)
            law[k] = std::exp(std::lgamma(count + 1.0) - std::lgamma(k + 1.0) - std::lgamma(count - k + 1.0)
                + k * lp + (count - k) * lq);
    }
    convolve(law, points);
}

void ScoreDistribution::convolve(const QVector<double>& counts, int points)
{
    if (points <= 0)
        return;
    const int step = points;
    QVector<double> next(int(m_chances.size()) + (int(counts.size()) - 1) * step, 0.0);
    for (int k = 0; k < counts.size(); ++k) {
        const double c = counts[k];
        if (c < 1e-15)
            continue;
        const int shift = k * step;
        for (int s = 0; s < m_chances.size(); ++s)
            next[s + shift] += m_chances[s] * c;
    }
    m_chances = std::move(next);
}

ScoreDistribution ScoreDistribution::mixture(const QVector<std::pair<double, ScoreDistribution>>& parts)
{
    ScoreDistribution mixed;
    qsizetype size = 1;
    for (const auto& part : parts)
        size = std::max(size, part.second.m_chances.size());
    mixed.m_chances.fill(0.0, size);
    for (const auto& [weight, part] : parts) {
        for (qsizetype s = 0; s < part.m_chances.size(); ++s)
            mixed.m_chances[s] += weight * part.m_chances[s];
    }
    return mixed;
}

double ScoreDistribution::chanceOf(int score) const
{
    return score >= 0 && score < m_chances.size() ? m_chances[score] : 0.0;
}

double ScoreDistribution::mean() const
{
    double sum = 0;
    for (int s = 0; s < m_chances.size(); ++s)
        sum += s * m_chances[s];
    return sum;
}

double ScoreDistribution::atLeast(int score) const
{
    double sum = 0;
    for (int s = std::max(0, score); s < m_chances.size(); ++s)
        sum += m_chances[s];
    return std::min(1.0, sum);
}

int ScoreDistribution::quantile(double share) const
{
    double sum = 0;
    for (int s = 0; s < m_chances.size(); ++s) {
        sum += m_chances[s];
        if (sum >= share - 1e-12)
            return s;
    }
    return fullScore();
}
