#pragma once

#include "data/QuestionType.h"

#include <QString>

#include <array>
#include <optional>

/// The mock-exam settings as the settings dialog holds them: the texts of its count
/// and points boxes (type-slot order) and of its exam time box, loaded from and saved
/// to kscs.ini.
struct ExamSettings
{
    std::array<QString, QuestionType::SlotCount> counts;
    std::array<QString, QuestionType::SlotCount> points;
    QString time;

    /// What slots 2 and 3 show instead of points: they are not scored by points.
    static QString variablePoints();
    /// Slots whose points the dialog shows in a box of their own.
    static bool hasPoints(QuestionType::TypeSlot slot);

    static constexpr int MaxCount = 999;
    static constexpr int MinPoints = 1;
    static constexpr int MaxPoints = 100;
    static constexpr int MinTime = 1;
    static constexpr int MaxTime = 999;

    /// Every key the dialog reads, with the dialog's defaults for missing ones.
    static ExamSettings load();

    /// Writes the six counts, the 单选 and 多选 points and the time, in that order. A box
    /// whose text is not a valid value is left unwritten, so the file keeps its last
    /// good value. False when the file could not be written.
    bool save() const;

    /// Why the settings cannot start an exam, naming the box (nothing when they can).
    struct Refusal
    {
        QString box; ///< the object name of the box to correct
        QString message;
    };
    std::optional<Refusal> check() const;

    /// The value of a box holding a whole number from @p min to @p max (blanks around
    /// it allowed); nothing for any other text.
    static std::optional<int> wholeNumber(const QString& text, int min, int max);
};
