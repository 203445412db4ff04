#pragma once

#include <QString>
#include <QStringView>

/// The names of the bank's tables and columns, each with what it holds. Most are the
/// short Chinese or pinyin names of the bank's first format, which the file keeps; the
/// statements of the repositories name them through these. The schema's own text, as
/// SQLite stores it in the file, is in BankSchema.cpp.
namespace BankTables {

namespace Table {
/// tk (题库, the bank): one row per question, or per group of questions on one material.
inline constexpr QStringView Questions = u"tk";
/// kstk (考试题库): the working set, a copy of chosen rows of tk for a mock exam or a
/// graded section, with tk's columns.
inline constexpr QStringView WorkingSet = u"kstk";
/// xmdm (项目代码): the projects, the first level of the catalogue, by code.
inline constexpr QStringView Projects = u"xmdm";
/// kmdm (科目代码): the subjects, the second level; a code begins with its project's.
inline constexpr QStringView Subjects = u"kmdm";
/// smdm (细目代码): the sections, the third level; question sections have codes from K on.
inline constexpr QStringView Sections = u"smdm";
/// tree: the catalogue in the order the tree shows it, rebuilt from the three above.
inline constexpr QStringView Tree = u"tree";
/// wz (文字): the texts of the text-material sections.
inline constexpr QStringView Texts = u"wz";
/// Every click of an answer panel up to the attempts, kept as it was written; nothing
/// is added to it any more.
inline constexpr QStringView AnswerHistory = u"answer_history";
/// The attempts: one per visit of a question, the answer the candidate settled on.
inline constexpr QStringView Attempts = u"attempt";
/// The practised questions with their memory and the day they are due again.
inline constexpr QStringView ReviewSchedule = u"review_schedule";
/// The memory model's weights fitted to the candidate's attempts (one row, the latest).
inline constexpr QStringView MemoryWeights = u"memory_weights";
/// One row per graded mock exam.
inline constexpr QStringView ExamResults = u"exam_result";
/// What was predicted of a mock exam's paper before it was answered, one row per graded exam.
inline constexpr QStringView ExamForecasts = u"exam_forecast";
/// The attempts counted per section and type, kept as each attempt is recorded.
inline constexpr QStringView AttemptSummary = u"attempt_summary";
/// The number in tk of each question of the exam paper in kstk.
inline constexpr QStringView ExamSources = u"exam_source";
} // namespace Table

namespace Column {
// tk and kstk; 代码 and 题号 also key the records kept beside them.
/// 代码: the code of the catalogue entry (project, subject or section) a row belongs to.
inline constexpr QStringView Code = u"代码";
/// 题号: the question's number within its section.
inline constexpr QStringView Number = u"题号";
/// 题型: the question type (单选, 多选, 判断, B, A3 ...).
inline constexpr QStringView Type = u"题型";
/// 答案: the key, the right answer.
inline constexpr QStringView Key = u"答案";
/// 答题: the candidate's answer; absent (NULL) and empty are kept apart.
inline constexpr QStringView Given = u"答题";
/// 收藏否 ("favourite?"): -1 marked, 0 not; kstk marks every copy -1.
inline constexpr QStringView Favourite = u"收藏否";
/// sj: the ordering key; listings order by type and then by it.
inline constexpr QStringView Order = u"sj";
/// tg (题干): the first 30 characters of the question's text, the list title.
inline constexpr QStringView StemExtract = u"tg";
/// xx (选项): the same extract, searched as the option text.
inline constexpr QStringView OptionsExtract = u"xx";
/// 选项: the whole question, stem and lettered options, as RTF.
inline constexpr QStringView Document = u"选项";
/// 题干: the stem alone, as RTF; absent for most questions of the first format.
inline constexpr QStringView Stem = u"题干";
/// zs (注释): the candidate's notes, RTF.
inline constexpr QStringView Notes = u"zs";
/// 插图: the question's illustration, an image file's bytes.
inline constexpr QStringView Picture = u"插图";

// The catalogue.
/// 项目: a project's name (xmdm, tree).
inline constexpr QStringView ProjectName = u"项目";
/// 科目: a subject's name (kmdm, tree).
inline constexpr QStringView SubjectName = u"科目";
/// 细目: a section's name (smdm, tree).
inline constexpr QStringView SectionName = u"细目";
/// flg: a tree row's level, 1 project, 2 subject, 3 section.
inline constexpr QStringView Level = u"flg";
/// 文字: a text-material section's text, RTF (wz).
inline constexpr QStringView Text = u"文字";

// answer_history
/// When an answer was given, UTC seconds.
inline constexpr QStringView AnsweredAt = u"answered_at";
/// The answer as given.
inline constexpr QStringView Answer = u"answer";
/// 1 when the answer was right, else 0.
inline constexpr QStringView IsRight = u"is_right";
/// Where it was given: 'practice' or 'exam'.
inline constexpr QStringView Source = u"source";

// attempt (answered_at, answer, is_right and source as above; answered_at is when the
// attempt was settled)
/// When the visit of the question began, UTC seconds.
inline constexpr QStringView StartedAt = u"started_at";
/// The seconds spent on the question in the visit.
inline constexpr QStringView Seconds = u"seconds";
/// How many times the answer was changed in the visit.
inline constexpr QStringView Clicks = u"clicks";

// review_schedule
/// How many right answers on or after the due day the question had in a row, by the
/// fixed intervals of older programs; 0 under the memory model.
inline constexpr QStringView Stage = u"stage";
/// The day the question is due, as a day number.
inline constexpr QStringView DueDay = u"due_day";
/// The memory of the question: how many days until its recall falls to 90 %.
inline constexpr QStringView Stability = u"stability";
/// How hard the question is for the candidate, 1 to 10.
inline constexpr QStringView Difficulty = u"difficulty";
/// The day of the last attempt, as a day number.
inline constexpr QStringView LastDay = u"last_day";
/// 1 when the first attempt at the question was right, 0 when wrong; null in rows of older
/// programs.
inline constexpr QStringView FirstRight = u"first_right";

// attempt_summary (代码, 题型, then right_count and seconds summed over the attempts)
/// How many attempts the row counts.
inline constexpr QStringView AttemptCount = u"attempt_count";

// exam_forecast
/// The exam_result row the forecast belongs to; null while its paper is not graded.
inline constexpr QStringView ResultId = u"result_id";
/// The expected score of the paper, before it was answered.
inline constexpr QStringView Expected = u"expected";
/// The interval the score was expected in (10 % to 90 %).
inline constexpr QStringView Low = u"low";
inline constexpr QStringView High = u"high";
/// The pass line in points, and the predicted chance of reaching it.
inline constexpr QStringView PassLine = u"pass_line";
inline constexpr QStringView PassChance = u"pass_chance";

// memory_weights
/// How many attempts the weights were fitted on.
inline constexpr QStringView FittedAttempts = u"attempts";
/// The weights, as numbers separated by commas.
inline constexpr QStringView Weights = u"weights";
/// How far the weights' recall predictions lean for this candidate, on the log-odds scale;
/// the score forecast adds it.
inline constexpr QStringView RecallShift = u"recall_shift";

// exam_result
inline constexpr QStringView Id = u"id";
/// When the exam was graded, UTC seconds.
inline constexpr QStringView FinishedAt = u"finished_at";
inline constexpr QStringView Score = u"score";
inline constexpr QStringView FullScore = u"full_score";
/// The questions on the paper.
inline constexpr QStringView QuestionCount = u"questions";
inline constexpr QStringView RightCount = u"right_count";
inline constexpr QStringView WrongCount = u"wrong_count";
inline constexpr QStringView UnansweredCount = u"unanswered_count";

// exam_source
/// The question's 题号 in tk; kstk numbers the paper's copies afresh.
inline constexpr QStringView BankNumber = u"bank_number";
} // namespace Column

/// The condition that picks one question by its key, as the statements write it.
inline QString byKey()
{
    return u" where " % Column::Code % u"=? AND " % Column::Number % u"=?";
}

} // namespace BankTables
