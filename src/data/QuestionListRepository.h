#pragma once

#include "data/QuestionTable.h"
#include "data/RowSet.h"

#include <QString>
#include <QVariantList>

#include <vector>

class QuestionStore;

/// What the question list shows: a select of the list's columns with its bound values.
/// The functions below build them; an empty statement lists nothing.
struct QuestionListing
{
    QString sql;
    QVariantList params;
};

/// The listings of the question list and the question sets a grading goes through. Every
/// listing but a search's orders by 题型 and sj.
namespace QuestionListRepository {

/// Which questions of a listing, by their answer (答题).
enum class Answers
{
    All,
    Answered,
    Unanswered,
    Wrong
};

/// The columns a listing reads, in place of "*": the covering indexes hold them.
QString columns();

/// The questions of section @p code of tk.
QuestionListing section(const QString& code);
/// Those of them with @p answers whose type occurs in @p types (type names run together;
/// an empty text matches none).
QuestionListing section(const QString& code, Answers answers, const QString& types);
/// Every question of tk.
QuestionListing bank();
/// The favourites across tk with @p answers (All, Answered or Wrong).
QuestionListing favourites(Answers answers);
/// The questions of tk due for review on or before @p day: the @p cap most urgent (the
/// lowest predicted recall), most urgent first.
QuestionListing due(qint64 day, int cap);
/// The same @p cap questions filtered, in the list's usual order.
QuestionListing due(qint64 day, int cap, Answers answers, const QString& types);
/// The exam paper in kstk.
QuestionListing paper();
QuestionListing paper(Answers answers, const QString& types);

/// The answered questions of tk (Answered) or the wrong ones (Wrong), grouped by section.
QuestionListing searchAnswers(Answers answers);
/// The questions of tk with @p keyword in the stem extract tg, the option extract xx or
/// either, grouped by section; an empty listing when neither is chosen. Latin case is
/// ignored, an empty text holds nothing, and quotes, % and _ are found as themselves.
QuestionListing searchKeyword(const QString& keyword, bool inStem, bool inOptions);
/// The questions at @p rowids of tk, in the order of the keyword search. @p bankSize
/// (questions in tk) picks between looking each one up and one pass over the list index.
QuestionListing searchHits(const std::vector<qint64>& rowids, int bankSize);

/// Reads @p listing.
RowSet read(QuestionStore& store, const QuestionListing& listing);

/// What a grading, the score report and the paper go through: the whole working set,
/// or section @p sectionCode of the bank, by type and sj, with the texts.
RowSet questionSet(QuestionStore& store, QuestionTable table, const QString& sectionCode);

} // namespace QuestionListRepository
