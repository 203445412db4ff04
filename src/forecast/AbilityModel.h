#pragma once

#include "data/QuestionType.h"

#include <QHash>
#include <QString>
#include <QVector>

#include <array>

/// The chance that the candidate answers a question they have never seen right, per section
/// and type, learned from the first attempts at the questions they have seen: a logistic
/// model with a strength per section and per type, each drawn toward zero so that a section
/// of few attempts borrows from the candidate's overall rate and from the type's.
class AbilityModel
{
public:
    /// First attempts in one section at questions of one type.
    struct Cell
    {
        QString section;
        QuestionType::TypeSlot slot = 0;
        int attempts = 0;
        int right = 0;
    };

    /// Without any attempt every chance is one half.
    AbilityModel() = default;
    static AbilityModel fit(const QVector<Cell>& cells);

    double chance(const QString& section, QuestionType::TypeSlot slot) const;
    /// The overall rate the sections and types are measured from.
    double baseChance() const;

private:
    double m_base = 0;
    QHash<QString, double> m_section; // by lower-case code: codes compare without case
    std::array<double, QuestionType::SlotCount> m_type {};
};
