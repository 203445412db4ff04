#include "forecast/PaperForecast.h"

#include "data/AnswerRepository.h"
#include "data/ForecastRepository.h"
#include "data/Settings.h"
#include "memory/MemoryModel.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

// The six slot names as the engine hands them over, to find a row's slot without a copy.
struct SlotNames
{
    std::array<QByteArray, QuestionType::SlotCount> utf8;
    SlotNames()
    {
        for (int slot = 0; slot < QuestionType::SlotCount; ++slot)
            utf8[size_t(slot)] = QuestionType::slotName(slot).toUtf8();
    }
    int slotOf(QByteArrayView type) const
    {
        for (int slot = 0; slot < QuestionType::SlotCount; ++slot) {
            if (type == utf8[size_t(slot)])
                return slot;
        }
        return -1;
    }
};

const SlotNames& slotNames()
{
    static const SlotNames names;
    return names;
}

double recallOf(const ForecastQuestion& q, qint64 today)
{
    return MemoryModel::recall({ q.stability, 0 }, double(std::max<qint64>(0, today - q.lastDay)));
}

void finish(ScoreForecast& f, int passPercent)
{
    const ScoreDistribution& d = f.distribution;
    f.fullScore = d.fullScore();
    f.expected = d.mean();
    f.low = d.quantile(0.1);
    f.high = d.quantile(0.9);
    f.passLine = ScoreForecast::passLineOf(f.fullScore, passPercent);
    f.passChance = f.fullScore > 0 ? d.atLeast(f.passLine) : 0.0;
}

int pointsOf(const PaperPlan& plan, QuestionType::TypeSlot slot, int keyLength)
{
    switch (PaperPlan::scoring(slot)) {
    case PaperPlan::Scoring::ByPoints:
        return plan.points[size_t(slot)];
    case PaperPlan::Scoring::ByCharacters:
        return keyLength;
    case PaperPlan::Scoring::None:
        break;
    }
    return 0;
}

constexpr int ChanceBins = 1001;

// A chance moved by @p shift on the log-odds scale; certainty stays certain.
double shifted(double chance, double shift)
{
    if (shift == 0 || chance <= 0 || chance >= 1)
        return chance;
    return 1 / (1 + (1 - chance) / chance * std::exp(-shift));
}

// The score's law when every chance may be off by a common shift on the log-odds scale,
// normal with deviation @p uncertainty: five-point Gauss-Hermite quadrature over the shift.
template <typename Build> ScoreDistribution mixedOverShift(double uncertainty, Build build)
{
    if (uncertainty <= 0)
        return build(0.0);
    static constexpr std::array<std::pair<double, double>, 5> Nodes {
        { { -2.0201828704560856, 0.019953242059045913 }, { -0.9585724646138185, 0.39361932315224116 },
            { 0.0, 0.9453087204829419 }, { 0.9585724646138185, 0.39361932315224116 },
            { 2.0201828704560856, 0.019953242059045913 } }
    };
    const double rootPi = std::sqrt(std::acos(-1.0));
    QVector<std::pair<double, ScoreDistribution>> parts;
    for (const auto& [x, w] : Nodes)
        parts.append({ w / rootPi, build(std::sqrt(2.0) * uncertainty * x) });
    return ScoreDistribution::mixture(parts);
}

// Every question of the cells, each with its own chance.
void addAll(ScoreDistribution& d, const QVector<const BankOutlook::Cell*>& cells, int points, double shift)
{
    for (const BankOutlook::Cell* c : cells) {
        for (const BankOutlook::Practised& p : c->practised)
            d.addQuestion(shifted(p.chance, shift), points);
        d.addQuestions(c->unseen(), shifted(c->unseenChance, shift), points);
    }
}

// Unseen questions first, then the least recently answered: the paper holds all unseen ones
// and the practised ones of the oldest days; of the last day it reaches, a random part.
void addUnseenFirst(
    ScoreDistribution& d, const QVector<const BankOutlook::Cell*>& cells, int drawn, int points, double shift)
{
    int unseen = 0;
    double unseenSum = 0;
    for (const BankOutlook::Cell* c : cells) {
        unseen += c->unseen();
        unseenSum += c->unseen() * shifted(c->unseenChance, shift);
    }
    if (drawn < unseen) {
        d.addQuestions(drawn, unseenSum / unseen, points);
        return;
    }
    QVector<BankOutlook::Practised> practised;
    for (const BankOutlook::Cell* c : cells) {
        d.addQuestions(c->unseen(), shifted(c->unseenChance, shift), points);
        practised += c->practised;
    }
    std::sort(practised.begin(), practised.end(),
        [](const BankOutlook::Practised& a, const BankOutlook::Practised& b) {
            return a.lastDay < b.lastDay;
        });
    int rest = drawn - unseen;
    for (int i = 0; i < practised.size() && rest > 0;) {
        int j = i;
        double sum = 0;
        while (j < practised.size() && practised[j].lastDay == practised[i].lastDay)
            sum += shifted(practised[j++].chance, shift);
        if (j - i <= rest) {
            for (int k = i; k < j; ++k)
                d.addQuestion(shifted(practised[k].chance, shift), points);
            rest -= j - i;
        } else {
            d.addQuestions(rest, sum / (j - i), points);
            rest = 0;
        }
        i = j;
    }
}

} // namespace

PaperPlan PaperPlan::fromSettings()
{
    PaperPlan plan;
    for (int slot = 0; slot < QuestionType::SlotCount; ++slot) {
        plan.counts[size_t(slot)] = std::max(0, Settings::questionCount(slot));
        plan.points[size_t(slot)] = std::max(0, Settings::points(slot));
    }
    plan.unseenFirst = Settings::unseenFirst();
    return plan;
}

PaperPlan::Scoring PaperPlan::scoring(QuestionType::TypeSlot slot)
{
    // As the score report totals a paper: four types by points, 简答 by characters.
    switch (QuestionType::kindOf(QuestionType::slotName(slot))) {
    case QuestionType::Kind::ShortAnswer:
        return Scoring::ByCharacters;
    case QuestionType::Kind::Comprehensive:
        return Scoring::None;
    default:
        return Scoring::ByPoints;
    }
}

std::optional<BankOutlook> BankOutlook::read(QuestionStore& store, qint64 today, QString* error)
{
    QVector<Cell> cells;
    QVector<AbilityModel::Cell> firsts;
    // Recall as the candidate's own reviews bear it out.
    const double shift = AnswerRepository::fittedWeights(store).recallShift;
    // Each section's cell per slot, -1 until it has one.
    QHash<QByteArray, int> sectionOf;
    std::vector<std::array<int, QuestionType::SlotCount>> sectionCells;
    int section = -1;
    QByteArray lastCode;
    const bool read = ForecastRepository::eachQuestion(
        store,
        [&](const ForecastQuestion& q) {
            const int slot = slotNames().slotOf(q.type);
            if (slot < 0)
                return;
            // Questions come in key order: a section's rows are together, its types mixed.
            if (section < 0 || q.code.compare(lastCode, Qt::CaseInsensitive) != 0) {
                lastCode = q.code.toByteArray();
                const auto known = sectionOf.constFind(lastCode.toLower());
                if (known == sectionOf.cend()) {
                    section = int(sectionCells.size());
                    sectionOf.insert(lastCode.toLower(), section);
                    sectionCells.emplace_back();
                    sectionCells.back().fill(-1);
                } else {
                    section = *known;
                }
            }
            int& index = sectionCells[size_t(section)][size_t(slot)];
            if (index < 0) {
                index = int(cells.size());
                cells.append(Cell { QString::fromUtf8(lastCode), slot, 0, {}, 0.5 });
                firsts.append({ cells.last().section, slot, 0, 0 });
            }
            const int last = index;
            Cell& cell = cells[last];
            ++cell.questions;
            if (q.practised)
                cell.practised.append({ shifted(recallOf(q, today), shift), q.lastDay });
            if (q.firstRight >= 0) {
                ++firsts[last].attempts;
                firsts[last].right += q.firstRight;
            }
        },
        error);
    if (!read)
        return std::nullopt;
    BankOutlook outlook = of(std::move(cells), AbilityModel::fit(firsts), today);
    outlook.m_recallShift = shift;
    for (int slot = 0; slot < QuestionType::SlotCount; ++slot) {
        qint64 questions = 0;
        if (PaperPlan::scoring(slot) == PaperPlan::Scoring::ByCharacters
            && !ForecastRepository::keyCharacters(store, QuestionType::slotName(slot), &questions,
                &outlook.m_keyCharacters[size_t(slot)], error))
            return std::nullopt;
    }
    return outlook;
}

BankOutlook BankOutlook::of(QVector<Cell> cells, const AbilityModel& ability, qint64 today)
{
    BankOutlook outlook;
    for (Cell& c : cells)
        c.unseenChance = ability.chance(c.section, c.slot);
    outlook.m_cells = std::move(cells);
    outlook.m_ability = ability;
    outlook.m_today = today;
    return outlook;
}

int ScoreForecast::passLineOf(int fullScore, int passPercent)
{
    return int((qint64(fullScore) * passPercent + 99) / 100);
}

namespace PaperForecast {

ScoreForecast ofPlan(const BankOutlook& outlook, const PaperPlan& plan, int passPercent, double uncertainty)
{
    // A pool's chances gathered in bins, so that shifting them costs a bin each, not a question.
    struct Slot
    {
        QVector<const BankOutlook::Cell*> cells;
        qint64 questions = 0;
        int drawn = 0;
        int points = 0;
        std::vector<double> binSum = std::vector<double>(ChanceBins, 0.0);
        std::vector<double> binCount = std::vector<double>(ChanceBins, 0.0);
        void add(double chance, double count)
        {
            const auto bin = size_t(std::clamp(int(chance * (ChanceBins - 1) + 0.5), 0, ChanceBins - 1));
            binSum[bin] += chance * count;
            binCount[bin] += count;
        }
    };
    QVector<Slot> pools;
    ScoreForecast f;
    for (int slot = 0; slot < QuestionType::SlotCount; ++slot) {
        if (PaperPlan::scoring(slot) == PaperPlan::Scoring::None || plan.counts[size_t(slot)] <= 0)
            continue;
        Slot s;
        const qint64 characters = outlook.keyCharacters(slot);
        for (const BankOutlook::Cell& c : outlook.cells()) {
            if (c.slot != slot)
                continue;
            s.cells.append(&c);
            s.questions += c.questions;
            for (const BankOutlook::Practised& p : c.practised)
                s.add(p.chance, 1);
            s.add(c.unseenChance, c.unseen());
        }
        if (s.questions == 0)
            continue;
        s.drawn = int(std::min<qint64>(plan.counts[size_t(slot)], s.questions));
        s.points = pointsOf(
            plan, slot, int(std::max<qint64>(1, std::llround(double(characters) / double(s.questions)))));
        f.questions += s.drawn;
        pools.append(s);
    }
    f.distribution = mixedOverShift(uncertainty, [&](double shift) {
        ScoreDistribution d;
        for (const Slot& s : pools) {
            if (plan.unseenFirst) {
                addUnseenFirst(d, s.cells, s.drawn, s.points, shift);
            } else if (s.drawn == s.questions) {
                addAll(d, s.cells, s.points, shift);
            } else {
                // Drawn at random from a large pool: each draw has the pool's mean chance.
                double sum = 0;
                for (int bin = 0; bin < ChanceBins; ++bin) {
                    if (s.binCount[size_t(bin)] > 0)
                        sum += s.binCount[size_t(bin)]
                            * shifted(s.binSum[size_t(bin)] / s.binCount[size_t(bin)], shift);
                }
                d.addQuestions(s.drawn, sum / double(s.questions), s.points);
            }
        }
        return d;
    });
    finish(f, passPercent);
    return f;
}

ScoreForecast ofQuestions(
    const QVector<DrawnQuestion>& questions, const PaperPlan& plan, int passPercent, double uncertainty)
{
    ScoreForecast f;
    for (const DrawnQuestion& q : questions)
        f.questions += PaperPlan::scoring(q.slot) == PaperPlan::Scoring::None ? 0 : 1;
    f.distribution = mixedOverShift(uncertainty, [&](double shift) {
        ScoreDistribution d;
        for (const DrawnQuestion& q : questions) {
            if (PaperPlan::scoring(q.slot) != PaperPlan::Scoring::None)
                d.addQuestion(shifted(q.chance, shift), pointsOf(plan, q.slot, q.keyLength));
        }
        return d;
    });
    finish(f, passPercent);
    return f;
}

std::optional<QVector<DrawnQuestion>> drawnPaper(
    QuestionStore& store, const BankOutlook& outlook, QString* error)
{
    QVector<DrawnQuestion> questions;
    const bool read = ForecastRepository::eachPaperQuestion(
        store,
        [&](const ForecastQuestion& q) {
            const int slot = slotNames().slotOf(q.type);
            if (slot < 0)
                return;
            const double chance = q.practised ? shifted(recallOf(q, outlook.today()), outlook.recallShift())
                                              : outlook.ability().chance(QString::fromUtf8(q.code), slot);
            questions.append({ slot, chance, q.keyLength });
        },
        error);
    if (!read)
        return std::nullopt;
    return questions;
}

WriteResult keepForDrawnPaper(QuestionStore& store, qint64 today)
{
    QString error;
    const std::optional<BankOutlook> outlook = BankOutlook::read(store, today, &error);
    const std::optional<QVector<DrawnQuestion>> paper
        = outlook ? drawnPaper(store, *outlook, &error) : std::optional<QVector<DrawnQuestion>>();
    if (!paper)
        return WriteResult::failed(StoreFailure { StoreFailure::Kind::Other, error });
    const ScoreForecast f = ofQuestions(*paper, PaperPlan::fromSettings(), Settings::passPercent());
    return ForecastRepository::keepPaperForecast(
        store, { f.expected, f.low, f.high, f.passLine, f.passChance });
}

} // namespace PaperForecast
