#pragma once

#include "data/QuestionType.h"
#include "data/WriteResult.h"
#include "forecast/AbilityModel.h"
#include "forecast/ScoreDistribution.h"

#include <QString>
#include <QVector>

#include <array>
#include <optional>

class QuestionStore;

/// The paper the mock-exam settings describe: how many questions of each type and what
/// each is worth. 简答 scores a point per character of its key; 综合 scores nothing.
struct PaperPlan
{
    std::array<int, QuestionType::SlotCount> counts {};
    std::array<int, QuestionType::SlotCount> points {};
    /// Questions never answered are drawn first, then the least recently answered.
    bool unseenFirst = false;

    /// The plan of the settings file.
    static PaperPlan fromSettings();
    /// How a slot is scored: by its points, by the characters of the key, or not at all.
    enum class Scoring
    {
        ByPoints,
        ByCharacters,
        None
    };
    static Scoring scoring(QuestionType::TypeSlot slot);
};

/// What the candidate knows of the bank today: for every section and type, the questions,
/// the chance of answering each practised one right (the memory model's recall) and that of
/// the unseen ones (the ability model).
class BankOutlook
{
public:
    struct Practised
    {
        double chance = 0;
        qint64 lastDay = 0;
    };
    struct Cell
    {
        QString section;
        QuestionType::TypeSlot slot = 0;
        int questions = 0;
        QVector<Practised> practised;
        /// The chance at each question of the cell never answered.
        double unseenChance = 0.5;
        int unseen() const { return questions - int(practised.size()); }
    };

    /// Reads the bank as of day number @p today; nothing, with the engine's words in
    /// @p error, when it cannot be read.
    static std::optional<BankOutlook> read(QuestionStore& store, qint64 today, QString* error);

    const QVector<Cell>& cells() const { return m_cells; }
    const AbilityModel& ability() const { return m_ability; }
    qint64 today() const { return m_today; }
    /// The shift added to the memory model's recall (the candidate's fit), log-odds.
    double recallShift() const { return m_recallShift; }
    /// The characters of the keys of every question of a slot scored by characters.
    qint64 keyCharacters(QuestionType::TypeSlot slot) const { return m_keyCharacters[size_t(slot)]; }

    /// The outlook of given cells (tests and simulations): unseen chances come from @p ability.
    static BankOutlook of(QVector<Cell> cells, const AbilityModel& ability, qint64 today);

private:
    QVector<Cell> m_cells;
    AbilityModel m_ability;
    qint64 m_today = 0;
    std::array<qint64, QuestionType::SlotCount> m_keyCharacters {};
    double m_recallShift = 0;
};

/// What a paper is expected to score.
struct ScoreForecast
{
    ScoreDistribution distribution;
    int fullScore = 0;
    double expected = 0;
    /// The score is below low with a chance of one in ten, above high with one in ten.
    int low = 0;
    int high = 0;
    int passLine = 0;
    double passChance = 0;
    /// The questions the paper would have.
    int questions = 0;

    /// The points needed to pass a paper of @p fullScore at @p passPercent (rounded up).
    static int passLineOf(int fullScore, int passPercent);
};

namespace PaperForecast {

/// How far off, on the log-odds scale, the chances may be all together: the memory model's
/// weights and the abilities are estimates, and one candidate's errors lean one way.
constexpr double ModelUncertainty = 0.5;

/// The score of a paper drawn by @p plan from every section of the bank, as the
/// composition draws it, the chances taken as uncertain by @p uncertainty.
ScoreForecast ofPlan(const BankOutlook& outlook, const PaperPlan& plan, int passPercent,
    double uncertainty = ModelUncertainty);

/// One question of a paper already drawn.
struct DrawnQuestion
{
    QuestionType::TypeSlot slot = 0;
    double chance = 0;
    int keyLength = 0;
};
/// The score of the questions of a paper already drawn.
ScoreForecast ofQuestions(const QVector<DrawnQuestion>& questions, const PaperPlan& plan, int passPercent,
    double uncertainty = ModelUncertainty);

/// The questions of the exam paper in kstk, with their chances as @p outlook sees them.
std::optional<QVector<DrawnQuestion>> drawnPaper(
    QuestionStore& store, const BankOutlook& outlook, QString* error);

/// Keeps the forecast of the exam paper just drawn into kstk, as of day @p today, for the
/// score report to set beside the score.
WriteResult keepForDrawnPaper(QuestionStore& store, qint64 today);

} // namespace PaperForecast
