#pragma once

#include "data/QuestionTable.h"
#include "data/WriteResult.h"

#include <QString>
#include <QVariant>

#include <optional>

class QuestionStore;

/// A question of the user's own, as it goes into tk.
struct NewQuestion
{
    QString code;
    int number = 0;
    QString type;
    QString answer;
    bool favourite = false;
    /// tg and xx: the first characters of its text.
    QString extract;
    /// 选项: the whole question, RTF.
    QString document;
    /// 题干 and zs; a null text stays absent.
    QString stem;
    QString notes;
    /// sj; null puts it one past the largest of the bank.
    QVariant order;
};

/// A question as stored in tk or kstk. Values that may be absent stay QVariant, so that
/// an absent answer stays apart from an empty one.
struct StoredQuestion
{
    QString code;
    QString number;
    QString type;
    QString answer;
    QVariant given; ///< 答题
    bool favourite = false;
    QString document; ///< 选项
    QVariant notes; ///< zs
    QVariant picture; ///< 插图
};

/// Corrections of a question's text, key, notes and type.
struct QuestionChanges
{
    QString document;
    QString answer;
    QString extract;
    QString notes;
    QString type;
};

/// The questions of tk as the candidate changes them: favourite marks, notes,
/// corrections and questions of the user's own.
namespace QuestionRepository {

/// Question @p key of @p table; none when it cannot be read.
std::optional<StoredQuestion> read(QuestionStore& store, QuestionTable table, const QuestionKey& key);

/// Marks question @p key as a favourite; Done with no row when it was marked already or is not there.
WriteResult markFavourite(QuestionStore& store, const QuestionKey& key);
/// Clears the mark of question @p key, whether it had one or not.
WriteResult unmarkFavourite(QuestionStore& store, const QuestionKey& key);
/// Clears every mark of the bank.
WriteResult clearFavourites(QuestionStore& store);

/// Replaces the notes (zs) of question @p key; Done with no row when it is not there.
WriteResult setNotes(QuestionStore& store, const QuestionKey& key, const QString& notes);
/// Writes @p changes into question @p key; Done with no row when it is not there.
WriteResult change(QuestionStore& store, const QuestionKey& key, const QuestionChanges& changes);

/// One past the largest number of section @p code (1 for an empty section).
int nextNumber(QuestionStore& store, const QString& code);
/// The largest ordering key sj of the bank, 0 when it holds none.
qint64 lastOrder(QuestionStore& store);
/// Inserts @p question.
WriteResult insert(QuestionStore& store, const NewQuestion& question);

} // namespace QuestionRepository
