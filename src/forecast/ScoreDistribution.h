#pragma once

#include <QVector>

#include <utility>

/// The chances of each whole score from 0 to the paper's full score, built question by
/// question; the questions are answered right or wrong independently of each other.
class ScoreDistribution
{
public:
    /// A paper of no questions: 0 points, certainly.
    ScoreDistribution();

    /// Adds a question worth @p points, answered right with chance @p chance.
    void addQuestion(double chance, int points);
    /// Adds @p count questions worth @p points each, each answered right with chance
    /// @p chance: the binomial law, as when they are drawn from a large pool whose mean
    /// chance is @p chance.
    void addQuestions(int count, double chance, int points);

    /// The mixture of @p parts, each with its weight (the weights sum to 1).
    static ScoreDistribution mixture(const QVector<std::pair<double, ScoreDistribution>>& parts);

    int fullScore() const { return int(m_chances.size()) - 1; }
    double chanceOf(int score) const;
    double mean() const;
    /// The chance of @p score or more.
    double atLeast(int score) const;
    /// The least score reached with a chance of at least @p share (0 to 1) at or below it.
    int quantile(double share) const;

private:
    void convolve(const QVector<double>& counts, int points);

    QVector<double> m_chances;
};
