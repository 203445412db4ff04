#pragma once

#include "data/QuestionType.h"

#include "data/WriteResult.h"

#include <QString>
#include <QVector>

#include <functional>
#include <optional>
#include <utility>

class QuestionStore;

/// A graded exam as exam_result keeps it.
struct ExamResultRow
{
    qint64 finishedAt = 0; ///< UTC seconds
    qint64 score = 0;
    qint64 fullScore = 0;
    qint64 questions = 0;
    qint64 right = 0;
    qint64 wrong = 0;
    qint64 unanswered = 0;
};

/// A question of tk a paper may draw.
struct PaperCandidate
{
    qint64 rowid = 0;
    QString type;
    QString code;
};

/// A question of tk a paper may draw, with whether the candidate has met it.
struct PaperCandidateUse
{
    qint64 rowid = 0;
    QuestionType::TypeSlot slot = 0;
    /// The code's UTF-8 bytes, valid during the call.
    QByteArrayView code;
    /// It has an attempt or a row in the review schedule.
    bool answered = false;
    /// The day number of its last attempt as the review schedule keeps it; none when the
    /// schedule does not know it.
    std::optional<qint64> lastDay;
};

/// The working set kstk, the exam paper drawn into it with the bank numbers of its
/// questions (exam_source), and the results of graded exams.
namespace ExamPaperRepository {

/// The smallest and the largest rowid of tk; none when it is empty.
std::optional<std::pair<qint64, qint64>> rowidRange(QuestionStore& store);
/// The question at @p rowid of tk; none when there is none.
std::optional<PaperCandidate> candidateAt(QuestionStore& store, qint64 rowid);
/// Every question of tk of @p type (their type is left empty).
QVector<PaperCandidate> candidatesOfType(QuestionStore& store, const QString& type);

/// Whether the question at @p rowid of tk has a row in the review schedule (every answered one has).
bool wasAnswered(QuestionStore& store, qint64 rowid);
/// Hands every question of tk of one of @p types to @p each, in the order of their keys,
/// with whether it was answered and when last; false when they cannot all be read.
bool eachCandidateUse(QuestionStore& store, const QStringList& types,
    const std::function<void(const PaperCandidateUse&)>& each);

/// Drops kstk (when there is one) and creates it empty with tk's columns and indexes; the
/// bank numbers of the paper before go with it.
WriteResult recreateWorkingSet(QuestionStore& store);
/// Copies every row of tk into kstk, or those of section @p sectionCode when it is not null.
WriteResult copyToWorkingSet(QuestionStore& store, const QString& sectionCode = QString());
/// Copies the row @p rowid of tk into kstk as question @p number of the paper, unanswered
/// and marked, and keeps its number in tk.
WriteResult addToPaper(QuestionStore& store, qint64 rowid, int number);

/// Appends @p row to exam_result.
WriteResult recordResult(QuestionStore& store, const ExamResultRow& row);
/// Hands every graded exam to @p each in the order they were taken; false, with the
/// engine's words in @p error, when they cannot all be read.
bool eachResult(QuestionStore& store, const std::function<void(const ExamResultRow&)>& each, QString* error);

} // namespace ExamPaperRepository
