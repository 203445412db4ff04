#pragma once

#include <QString>
#include <QVector>

class QuestionStore;

/// How much of the bank the user has worked, section by section: the question
/// sections from K up to but not including W, in the order of their codes.
namespace ProgressStatistics {

struct Row
{
    QString code; ///< 代码 of the section
    QString name; ///< 细目
    qint64 total = 0; ///< 题量
    qint64 done = 0; ///< 已做题数
    qint64 right = 0; ///< 做对题数, answered ones only
    qint64 wrong = 0; ///< 做错题数

    qint64 open() const { return total - done; }
    /// 准确率: right among done, truncated to one decimal ("66.6%"); "0%" when none is done.
    QString rate() const;
    /// The same share in tenths of a percent, for sorting and charts.
    qint64 ratePermille() const;
    /// The share of the section's questions answered, in percent.
    double completionPercent() const;
};

struct Result
{
    bool ok = false;
    QString error;
    QVector<Row> sections;
    /// The sums over the listed sections.
    Row totals;
};

/// Reads the sections and counts their questions in two grouped passes over narrow
/// indexes of tk: every question by section, then the answered ones.
Result compute(QuestionStore& store);

} // namespace ProgressStatistics
