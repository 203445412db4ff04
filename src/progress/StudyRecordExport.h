#pragma once

#include "data/WriteResult.h"

#include <QString>

class QuestionStore;

/// The candidate's record as spreadsheet files: every attempt, and every graded mock
/// exam. Each file is comma-separated text (RFC 4180) in UTF-8 with a byte order mark,
/// CR LF line ends and a header row, written whole or not at all.
namespace StudyRecordExport {

/// Writes the attempts to @p path, oldest first: 时间, 章节代码, 章节, 题号, 题型, 作答, 答案,
/// 结果, 用时（秒）, 来源. Done with the attempts written; failed with the engine's failure
/// when they cannot be read, or with the file's own reason when it cannot be written.
WriteResult writeAttempts(QuestionStore& store, const QString& path);

/// Writes the graded mock exams to @p path in the order taken: 交卷时间, 总分, 得分, 得分率,
/// 题数, 答对, 答错, 未答. Done and failed as writeAttempts().
WriteResult writeExamResults(QuestionStore& store, const QString& path);

/// Where the exam results go beside the attempts at @p attemptsPath: "<name>（模拟考试）.csv"
/// in the same folder.
QString examResultsPath(const QString& attemptsPath);

} // namespace StudyRecordExport
