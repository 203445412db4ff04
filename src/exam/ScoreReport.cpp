#include "exam/ScoreReport.h"

#include "catalogue/QuestionNumbering.h"
#include "data/AnswerRule.h"
#include "data/BankTables.h"
#include "data/RowSet.h"
#include "data/Settings.h"
#include "exam/QuestionSet.h"

namespace ScoreReport {

Points readPoints()
{
    // 简答 and 综合 share one value; no summary row uses it.
    Points points {};
    for (int slot = 0; slot < QuestionType::SlotCount; ++slot)
        points[size_t(slot)] = Settings::points(slot);
    return points;
}

QString rateText(qint64 part, qint64 whole)
{
    if (whole == 0)
        return QStringLiteral("0%");
    const qint64 hundredths = part * 10000 / whole;
    QString text = QString::number(hundredths / 100);
    const qint64 fraction = qAbs(hundredths % 100);
    if (fraction != 0) {
        if (hundredths < 0 && hundredths / 100 == 0)
            text.prepend(u'-');
        text += u'.' + QString::number(fraction / 10);
        if (fraction % 10 != 0)
            text += QString::number(fraction % 10);
    }
    return text + u'%';
}

std::array<QuestionType::TypeSlot, 4> summarySlots()
{
    return { 0, 5, 4, 1 };
}

QStringList summaryRow(const GradingTally& tally, const Points& points, QuestionType::TypeSlot slot)
{
    const auto k = size_t(slot);
    return { QuestionType::slotName(slot), QString::number(tally.total[k]), QString::number(tally.right[k]),
        QString::number(tally.wrong(slot)), QString::number(tally.unanswered[k]),
        QString::number(qint64(tally.right[k]) * points[k]), rateText(tally.right[k], tally.total[k]) };
}

Totals totals(const GradingTally& tally, const Points& points)
{
    Totals t { tally.charTotal, tally.charRight };
    for (const QuestionType::TypeSlot slot : summarySlots()) {
        const auto k = size_t(slot);
        t.total += qint64(tally.total[k]) * points[k];
        t.scored += qint64(tally.right[k]) * points[k];
    }
    return t;
}

QString totalLine(const GradingTally& tally, const Points& points)
{
    const Totals t = totals(tally, points);
    if (t.total == 0)
        return {};
    return QStringLiteral("总分：") + QString::number(t.total) + QStringLiteral("   得分：")
        + QString::number(t.scored) + QStringLiteral("   得分率：") + rateText(t.scored, t.total);
}

QVector<DetailRow> detailRows(RowSet& rows)
{
    QVector<DetailRow> detail;
    if (!rows.isValid())
        return detail;
    const int fType = rows.fieldIndex(BankTables::Column::Type.toString()),
              fTitle = rows.fieldIndex(BankTables::Column::StemExtract.toString()),
              fKey = rows.fieldIndex(BankTables::Column::Key.toString()),
              fGiven = rows.fieldIndex(BankTables::Column::Given.toString());
    int offset = 0;
    for (rows.first(); !rows.atEnd(); rows.next()) {
        DetailRow row;
        row.type = rows.field(fType).toString();
        // One line per question: the extract keeps the stem's line breaks.
        row.title = rows.field(fTitle).toString().replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        row.title.replace(u'\n', u' ').replace(u'\r', u' ');
        row.key = rows.field(fKey).toString();
        const QVariant given = rows.field(fGiven);
        row.given = given.toString();
        row.number = QuestionNumbering::text(rows.position(), row.type, row.key, &offset);
        row.red = !AnswerRule::isRight(row.key, given);
        detail.append(row);
    }
    return detail;
}

QVector<DetailRow> detailRows(QuestionStore& store, QuestionTable table, const QString& sectionCode)
{
    RowSet rows = QuestionSet::open(store, table, sectionCode);
    return detailRows(rows);
}

} // namespace ScoreReport
