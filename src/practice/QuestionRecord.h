#pragma once

#include "data/QuestionTable.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <optional>

class QuestionStore;

/// One row of tk or kstk. Values that may be absent are kept as QVariant, so that
/// an absent answer stays apart from an empty one.
struct QuestionRecord
{
    QString code; ///< 代码
    QString number; ///< 题号
    QString type; ///< 题型
    QString answer; ///< 答案
    QVariant given; ///< 答题: null when absent
    bool favourite = false;
    QString document; ///< 选项, the whole question as RTF
    QVariant notes; ///< zs: null when absent
    QVariant picture; ///< 插图: null when absent

    /// The question @p key of @p table; none when it cannot be read.
    static std::optional<QuestionRecord> read(
        QuestionStore& store, QuestionTable table, const QuestionKey& key);
};
