#include "forecast/AbilityModel.h"

#include <algorithm>
#include <cmath>

namespace {

// Prior precisions of the strengths: the base is nearly free, a section or type moves away
// from it as its attempts outweigh about four of them.
constexpr double BasePrecision = 0.01;
constexpr double GroupPrecision = 1.0;
constexpr int Rounds = 60;

double logistic(double x)
{
    return 1 / (1 + std::exp(-x));
}

// One Newton step on a strength shared by @p cells, whose other terms are in @p rest.
template <typename Cells, typename Rest>
double newtonStep(double value, double precision, const Cells& cells, Rest rest)
{
    double gradient = -precision * value, curvature = precision;
    for (const auto* c : cells) {
        const double p = logistic(value + rest(*c));
        gradient += c->right - c->attempts * p;
        curvature += c->attempts * p * (1 - p);
    }
    return value + gradient / curvature;
}

} // namespace

AbilityModel AbilityModel::fit(const QVector<Cell>& cells)
{
    AbilityModel model;
    // Strengths by index while fitting: the cells are walked many times.
    struct Counted
    {
        int section;
        int type;
        int attempts;
        int right;
    };
    QHash<QString, int> sectionIndex;
    QVector<QString> sectionNames;
    QVector<Counted> counted;
    for (const Cell& c : cells) {
        if (c.attempts <= 0 || c.slot < 0 || c.slot >= QuestionType::SlotCount)
            continue;
        const QString name = c.section.toLower();
        auto it = sectionIndex.find(name);
        if (it == sectionIndex.end()) {
            it = sectionIndex.insert(name, int(sectionNames.size()));
            sectionNames.append(name);
        }
        counted.append({ *it, c.slot, c.attempts, std::min(c.right, c.attempts) });
    }
    if (counted.isEmpty())
        return model;
    QVector<QVector<const Counted*>> bySection(sectionNames.size());
    std::array<QVector<const Counted*>, QuestionType::SlotCount> byType;
    QVector<const Counted*> all;
    for (const Counted& c : counted) {
        bySection[c.section].append(&c);
        byType[size_t(c.type)].append(&c);
        all.append(&c);
    }
    QVector<double> section(sectionNames.size(), 0.0);
    std::array<double, QuestionType::SlotCount>& type = model.m_type;
    for (int round = 0; round < Rounds; ++round) {
        model.m_base = newtonStep(model.m_base, BasePrecision, all,
            [&](const Counted& c) { return section[c.section] + type[size_t(c.type)]; });
        for (int t = 0; t < QuestionType::SlotCount; ++t) {
            if (!byType[size_t(t)].isEmpty())
                type[size_t(t)] = newtonStep(type[size_t(t)], GroupPrecision, byType[size_t(t)],
                    [&](const Counted& c) { return model.m_base + section[c.section]; });
        }
        for (int i = 0; i < section.size(); ++i)
            section[i] = newtonStep(section[i], GroupPrecision, bySection[i],
                [&](const Counted& c) { return model.m_base + type[size_t(c.type)]; });
    }
    for (int i = 0; i < section.size(); ++i)
        model.m_section.insert(sectionNames[i], section[i]);
    return model;
}

double AbilityModel::chance(const QString& section, QuestionType::TypeSlot slot) const
{
    const double type = slot >= 0 && slot < QuestionType::SlotCount ? m_type[size_t(slot)] : 0.0;
    return logistic(m_base + m_section.value(section.toLower()) + type);
}

double AbilityModel::baseChance() const
{
    return logistic(m_base);
}
