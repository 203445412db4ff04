#include "forecast/WeakSpots.h"

#include <QHash>

#include <algorithm>
#include <cmath>

namespace WeakSpots {

QVector<Section> bySection(const BankOutlook& outlook, const PaperPlan& plan,
    const QVector<AttemptSummaryRow>& attempts, double target)
{
    // What one question of each slot's pool is worth on the paper: its points times the
    // chance that the paper draws it.
    std::array<qint64, QuestionType::SlotCount> pool {};
    for (const BankOutlook::Cell& c : outlook.cells()) {
        pool[size_t(c.slot)] += c.questions;
    }
    std::array<double, QuestionType::SlotCount> worth {};
    std::array<double, QuestionType::SlotCount> drawnShare {};
    for (int slot = 0; slot < QuestionType::SlotCount; ++slot) {
        const auto s = size_t(slot);
        if (pool[s] == 0)
            continue;
        double points = 0;
        switch (PaperPlan::scoring(slot)) {
        case PaperPlan::Scoring::ByPoints:
            points = plan.points[s];
            break;
        case PaperPlan::Scoring::ByCharacters:
            points = double(outlook.keyCharacters(slot)) / double(pool[s]);
            break;
        case PaperPlan::Scoring::None:
            break;
        }
        drawnShare[s] = double(std::min<qint64>(plan.counts[s], pool[s])) / double(pool[s]);
        worth[s] = points * drawnShare[s];
    }

    QHash<QString, std::pair<qint64, qint64>> time; // attempts and seconds by lower-case code
    qint64 allAttempts = 0, allSeconds = 0;
    for (const AttemptSummaryRow& a : attempts) {
        auto& t = time[a.code.toLower()];
        t.first += a.attempts;
        t.second += a.seconds;
        allAttempts += a.attempts;
        allSeconds += a.seconds;
    }
    const double meanSeconds = allAttempts > 0 ? double(allSeconds) / double(allAttempts) : DefaultSeconds;

    struct Gathered
    {
        Section section;
        // Gains of single questions (practised) and of runs of equal ones (unseen).
        QVector<std::pair<double, int>> gains;
    };
    QHash<QString, int> indexOf;
    QVector<Gathered> gathered;
    for (const BankOutlook::Cell& c : outlook.cells()) {
        const QString key = c.section.toLower();
        auto it = indexOf.find(key);
        if (it == indexOf.end()) {
            it = indexOf.insert(key, int(gathered.size()));
            gathered.append({ Section { c.section }, {} });
        }
        Gathered& g = gathered[*it];
        const double w = worth[size_t(c.slot)];
        g.section.questions += c.questions;
        if (w > 0)
            g.section.onPaper += c.questions * drawnShare[size_t(c.slot)];
        for (const BankOutlook::Practised& p : c.practised) {
            g.section.chance += p.chance;
            if (w > 0 && p.chance < target)
                g.gains.append({ w * (target - p.chance), 1 });
        }
        g.section.chance += c.unseen() * c.unseenChance;
        if (w > 0 && c.unseen() > 0 && c.unseenChance < target)
            g.gains.append({ w * (target - c.unseenChance), c.unseen() });
    }

    QVector<Section> sections;
    for (Gathered& g : gathered) {
        Section& s = g.section;
        if (s.onPaper <= 0 || s.questions == 0)
            continue;
        s.chance /= s.questions;
        const auto t = time.value(s.code.toLower());
        s.secondsPerQuestion = t.first > 0 ? double(t.second) / double(t.first) : meanSeconds;
        double covered = 3600.0 / std::max(1.0, s.secondsPerQuestion);
        std::sort(
            g.gains.begin(), g.gains.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
        for (const auto& [gain, count] : g.gains) {
            if (covered <= 0)
                break;
            const double taken = std::min<double>(covered, count);
            s.gainPerHour += gain * taken;
            covered -= taken;
        }
        sections.append(s);
    }
    std::stable_sort(sections.begin(), sections.end(),
        [](const Section& a, const Section& b) { return a.gainPerHour > b.gainPerHour; });
    return sections;
}

Paces paces(const QVector<AttemptSummaryRow>& attempts)
{
    Paces result;
    qint64 all = 0, right = 0, seconds = 0;
    for (const AttemptSummaryRow& a : attempts) {
        all += a.attempts;
        right += a.right;
        seconds += a.seconds;
    }
    if (all == 0)
        return result;
    result.rightShare = double(right) / double(all);
    result.secondsPerQuestion = double(seconds) / double(all);
    for (const AttemptSummaryRow& a : attempts) {
        if (a.attempts < MinAttempts)
            continue;
        const Pace pace { a.code, a.type, a.attempts, double(a.right) / double(a.attempts),
            double(a.seconds) / double(a.attempts) };
        if (pace.rightShare >= result.rightShare
            && pace.secondsPerQuestion >= 1.5 * result.secondsPerQuestion)
            result.slowButRight.append(pace);
        else if (pace.rightShare <= result.rightShare - 0.1
            && pace.secondsPerQuestion <= 0.75 * result.secondsPerQuestion)
            result.fastButWrong.append(pace);
    }
    std::sort(result.slowButRight.begin(), result.slowButRight.end(),
        [](const Pace& a, const Pace& b) { return a.secondsPerQuestion > b.secondsPerQuestion; });
    std::sort(result.fastButWrong.begin(), result.fastButWrong.end(),
        [](const Pace& a, const Pace& b) { return a.rightShare < b.rightShare; });
    return result;
}

} // namespace WeakSpots
