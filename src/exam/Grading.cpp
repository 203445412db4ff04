#include "exam/Grading.h"

#include "data/AnswerRule.h"
#include "data/BankTables.h"
#include "data/QuestionStore.h"
#include "exam/QuestionSet.h"
#include "exam/WorkingSet.h"

namespace Grading {
namespace {

struct CharScore
{
    qint32 total = 0;
    qint32 right = 0;
};

// By code points, so that a character outside the basic plane counts once.
CharScore scoreCharacters(const QString& key, const QVariant& given)
{
    const QList<uint> k = key.toUcs4();
    const QList<uint> g = given.toString().toUcs4();
    CharScore score { qint32(k.size()), 0 };
    for (qsizetype i = 0; i < k.size(); ++i) {
        if (i < g.size() && g[i] == k[i])
            ++score.right;
    }
    return score;
}

enum class ShortAnswers
{
    OncePerQuestion,
    ByCharacters
};

Outcome grade(RowSet rows, ShortAnswers shortAnswers)
{
    Outcome outcome;
    if (!rows.isValid()) {
        outcome.readError = rows.error();
        return outcome;
    }
    GradingTally& t = outcome.tally;
    const int fType = rows.fieldIndex(BankTables::Column::Type.toString()),
              fKey = rows.fieldIndex(BankTables::Column::Key.toString()),
              fGiven = rows.fieldIndex(BankTables::Column::Given.toString());
    const auto shortSlot
        = size_t(QuestionType::slotOf(QuestionType::name(QuestionType::Kind::ShortAnswer)).value());
    for (rows.first(); !rows.atEnd(); rows.next()) {
        const std::optional<QuestionType::TypeSlot> slot = QuestionType::slotOf(rows.field(fType).toString());
        if (!slot)
            continue;
        const auto k = size_t(*slot);
        const QString key = rows.field(fKey).toString();
        const QVariant given = rows.field(fGiven);
        const bool answered = AnswerRule::isAnswered(given);
        if (k == shortSlot && shortAnswers == ShortAnswers::ByCharacters) {
            const CharScore chars = scoreCharacters(key, given);
            t.total[k] += chars.total;
            if (answered)
                t.right[k] += chars.right;
            else
                t.unanswered[k] += chars.total;
            continue;
        }
        ++t.total[k];
        if (!answered)
            ++t.unanswered[k];
        else if (AnswerRule::isRight(key, given))
            ++t.right[k];
        if (k == shortSlot) {
            const CharScore chars = scoreCharacters(key, given);
            t.charTotal += chars.total;
            t.charRight += chars.right;
        }
    }
    if (shortAnswers == ShortAnswers::ByCharacters) {
        t.charTotal = t.total[shortSlot];
        t.charRight = t.right[shortSlot];
    }
    return outcome;
}

} // namespace

Outcome GradeExamPaper(QuestionStore& store)
{
    return grade(
        QuestionSet::open(store, QuestionTable::WorkingSet, QString()), ShortAnswers::OncePerQuestion);
}

Outcome GradePracticeSection(QuestionStore& store, const QString& sectionCode)
{
    // A null code would copy the whole bank; no section shown means no questions.
    const QString code = sectionCode.isNull() ? QStringLiteral("") : sectionCode;
    Outcome outcome = grade(QuestionSet::open(store, QuestionTable::Bank, code), ShortAnswers::ByCharacters);
    outcome.copied = WorkingSet::copyFromBank(store, code);
    return outcome;
}

} // namespace Grading
