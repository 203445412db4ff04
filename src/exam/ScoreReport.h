#pragma once

#include "data/QuestionTable.h"
#include "data/QuestionType.h"
#include "exam/GradingTally.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

class QuestionStore;
class RowSet;

/// What the score report shows, computed without a window: the summary per type, the
/// total line and the detail per question.
namespace ScoreReport {

/// Points per question of each slot, as the report reads them from the settings file.
using Points = std::array<qint32, QuestionType::SlotCount>;
Points readPoints();

/// The rate @p part of @p whole in hundredths, cut (not rounded) to two decimals and
/// written without trailing zeros: 7 of 20 "35%", 1 of 3 "33.33%", "0%" when @p whole is 0.
QString rateText(qint64 part, qint64 whole);

/// The slots with a summary row, in the report's order: 单选, 多选, 判断, 不定项.
std::array<QuestionType::TypeSlot, 4> summarySlots();

/// A summary row's cells under 题型, 题数, 答对题数, 答错题数, 未答题数, 得分, 得分率.
QStringList summaryRow(const GradingTally& tally, const Points& points, QuestionType::TypeSlot slot);

struct Totals
{
    qint64 total = 0;
    qint64 scored = 0;
};
/// The points the summary rows stand for (each row's questions and right answers times
/// its points) plus the short answers' characters, one point each.
Totals totals(const GradingTally& tally, const Points& points);
/// "总分：T   得分：S   得分率：R%", or empty when there are no points to score.
QString totalLine(const GradingTally& tally, const Points& points);

struct DetailRow
{
    QString number; ///< "第3题", or "第3题--第5题" for a grouped row
    QString type;
    QString title; ///< tg, on one line
    QString key;
    QString given;
    /// Red: not answered exactly as the key.
    bool red = false;
};
/// One row per question row of @p rows, numbered as the question list numbers them.
QVector<DetailRow> detailRows(RowSet& rows);
/// The detail of the working set during an exam, else of section @p sectionCode of the bank.
QVector<DetailRow> detailRows(QuestionStore& store, QuestionTable table, const QString& sectionCode);

} // namespace ScoreReport
