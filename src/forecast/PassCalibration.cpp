#include "forecast/PassCalibration.h"

#include <algorithm>
#include <cmath>

namespace PassCalibration {

QVector<Decile> deciles(const QVector<Paper>& papers)
{
    QVector<Decile> result(10);
    for (int i = 0; i < 10; ++i) {
        result[i].from = i * 10;
        result[i].to = i * 10 + 10;
    }
    for (const Paper& p : papers) {
        Decile& d = result[std::clamp(int(std::floor(p.passChance * 10)), 0, 9)];
        ++d.papers;
        d.meanChance += p.passChance;
        d.passed += p.passed ? 1 : 0;
    }
    for (Decile& d : result) {
        if (d.papers > 0)
            d.meanChance /= d.papers;
    }
    return result;
}

double largestGap(const QVector<Decile>& deciles, int minPapers)
{
    double gap = 0;
    for (const Decile& d : deciles) {
        if (d.papers >= std::max(1, minPapers))
            gap = std::max(gap, 100 * std::abs(d.meanChance - d.passedShare()));
    }
    return gap;
}

} // namespace PassCalibration
