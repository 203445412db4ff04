#pragma once

#include <QVector>

/// Predicted pass chances set against passes: are papers given a 70 % chance passed about
/// seven times in ten?
namespace PassCalibration {

struct Paper
{
    double passChance = 0;
    bool passed = false;
};

/// The papers whose predicted chance fell in [from, to) percent (the last decile takes 100).
struct Decile
{
    int from = 0;
    int to = 0;
    int papers = 0;
    double meanChance = 0;
    int passed = 0;
    double passedShare() const { return papers > 0 ? double(passed) / papers : 0.0; }
};

/// The ten deciles, empty ones included.
QVector<Decile> deciles(const QVector<Paper>& papers);

/// The largest gap, in points, between a decile's mean chance and its share passed, over
/// the deciles of at least @p minPapers papers.
double largestGap(const QVector<Decile>& deciles, int minPapers);

/// How many graded papers the candidate's own check needs.
constexpr int OwnPapersNeeded = 5;

} // namespace PassCalibration
