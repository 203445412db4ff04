#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <optional>

class QuestionStore;
struct AppState;

/// One row of tk or kstk. Values that may be absent are kept as QVariant, so that
/// an absent answer stays apart from an empty one.
struct QuestionRecord
{
    QString code;       ///< 代码
    QString number;     ///< 题号
    QString type;       ///< 题型
    QString answer;     ///< 答案
    QVariant given;     ///< 答题: null when absent
    bool favourite = false;
    QString document;   ///< 选项, the whole question as RTF
    QVariant notes;     ///< zs: null when absent
    QVariant picture;   ///< 插图: null when absent

    /// The question table the current state reads: kstk while an exam runs, else tk.
    static QString table(const AppState& state);

    /// The current question (by SectionCode and QuestionNo) from the table of the state.
    static std::optional<QuestionRecord> current(QuestionStore& store, const AppState& state);

    /// The statement of the current question and its bound values.
    static QString CurrentQuestionQuery(const AppState& state, QVariantList* params);

    /// The current question's row of tk, whatever table the state reads (favourites,
    /// notes and edits always belong to the bank).
    static QString BankQuestionQuery(const AppState& state, QVariantList* params);
};
