#pragma once

#include "data/QuestionType.h"

#include <QtGlobal>

#include <array>

/// The counts of the last grading per question type, in TypeSlot order, plus the
/// character scores of the short answers. Wrong answers are what is neither right nor
/// unanswered.
struct GradingTally
{
    std::array<qint32, QuestionType::SlotCount> total {};
    std::array<qint32, QuestionType::SlotCount> right {};
    std::array<qint32, QuestionType::SlotCount> unanswered {};
    qint32 charTotal = 0;
    qint32 charRight = 0;

    qint32 wrong(QuestionType::TypeSlot slot) const
    {
        return total[size_t(slot)] - right[size_t(slot)] - unanswered[size_t(slot)];
    }

    /// The tally of the run: each grading overwrites it, the score report reads it.
    static GradingTally& program();
};
