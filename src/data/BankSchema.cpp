#include "data/BankSchema.h"

#include "data/AnswerRule.h"
#include "data/AttemptRepository.h"
#include "data/BankTables.h"
#include "data/QuestionStore.h"

namespace BankSchema {

QStringList questionColumns()
{
    return { QStringLiteral("代码"), QStringLiteral("题号"), QStringLiteral("题型"), QStringLiteral("答案"),
        QStringLiteral("答题"), QStringLiteral("收藏否"), QStringLiteral("sj"), QStringLiteral("tg"),
        QStringLiteral("xx"), QStringLiteral("选项"), QStringLiteral("题干"), QStringLiteral("zs"),
        QStringLiteral("插图") };
}

namespace {

// Only answered questions: the progress counts read these few entries and the narrow
// section key, never the wide list index. The condition is written as the counting
// statements write theirs, so that SQLite sees the index applies.
QString answeredIndex(const QString& table)
{
    return QStringLiteral("create index if not exists ") + table + QStringLiteral("_answered on ") + table
        + QStringLiteral("(代码, 答题, 答案) where ") + AnswerRule::answeredSql();
}

// The keyword search keeps the extracts in memory; loading them reads this index alone.
const QString TextIndex = QStringLiteral("create index if not exists tk_text on tk(tg, xx)");

// The daily review looks its few due questions up by key, spread over the whole bank; this
// index answers with the listing's columns without reading their rows.
const QString ReviewIndex
    = QStringLiteral("create index if not exists tk_review on tk(代码, 题号, 题型, sj, 答案, 答题, tg)");

// The tables of tk and the catalogue, without the records kept beside them.
QStringList coreStatements()
{
    QStringList s = {
        QStringLiteral("create table xmdm(代码 text collate nocase, 项目 text collate nocase)"),
        QStringLiteral("create table kmdm(代码 text collate nocase, 科目 text collate nocase)"),
        QStringLiteral("create table smdm(代码 text collate nocase, 细目 text collate nocase)"),
        QStringLiteral("create table tree(flg integer, 项目 text collate nocase, 科目 text collate nocase, "
                       "细目 text collate nocase, 代码 text collate nocase)"),
        QStringLiteral("create table wz(代码 text collate nocase, 文字 text)"),
        QStringLiteral("create index xmdm_code on xmdm(代码)"),
        QStringLiteral("create index kmdm_code on kmdm(代码)"),
        QStringLiteral("create index smdm_code on smdm(代码)"),
        QStringLiteral("create index wz_code on wz(代码)"),
    };
    s += questionTableStatements(QStringLiteral("tk"));
    s << TextIndex << ReviewIndex;
    return s;
}

} // namespace

QStringList questionTableStatements(const QString& table)
{
    const QString& t = table;
    return {
        QStringLiteral("create table ") + t + QStringLiteral(R"((
    代码 text collate nocase,
    题号 integer,
    题型 text collate nocase,
    答案 text collate nocase,
    答题 text collate nocase,
    收藏否 integer not null default 0,
    sj integer,
    tg text collate nocase,
    xx text collate nocase,
    选项 text,
    题干 text,
    zs text,
    插图 blob))"),
        // A section's listing, its filters and the per-section counts read only this index.
        QStringLiteral("create index ") + t + QStringLiteral("_list on ") + t
            + QStringLiteral("(代码, 题型, sj, 题号, 答案, 答题, tg)"),
        QStringLiteral("create index ") + t + QStringLiteral("_key on ") + t + QStringLiteral("(代码, 题号)"),
        // Listings across the whole table (a filter choice that names no section, the exam paper).
        QStringLiteral("create index ") + t + QStringLiteral("_order on ") + t
            + QStringLiteral("(题型, sj, 代码, 题号, 答案, 答题, tg)"),
        // Favourites are few: a partial index lists them across the whole bank.
        QStringLiteral("create index ") + t + QStringLiteral("_favourite on ") + t
            + QStringLiteral("(题型, sj, 代码, 题号, 答案, 答题, tg, 收藏否) where 收藏否=-1"),
        answeredIndex(t),
    };
}

QStringList recordStatements()
{
    return {
        // Question keys are tk's: 代码 and 题号 compare as they do there, so the joins with
        // tk use its key index.
        QStringLiteral(
            "create table if not exists answer_history(id integer primary key, "
            "代码 text collate nocase not null, 题号 integer not null, answered_at integer not null, "
            "answer text not null, is_right integer not null, "
            "source text not null check(source in ('practice','exam')))"),
        QStringLiteral(
            "create index if not exists answer_history_key on answer_history(代码, 题号, answered_at)"),
        QStringLiteral(
            "create table if not exists attempt(id integer primary key, "
            "代码 text collate nocase not null, 题号 integer not null, started_at integer not null, "
            "answered_at integer not null, seconds integer not null, answer text not null, "
            "is_right integer not null, source text not null check(source in ('practice','exam')), "
            "clicks integer not null)"),
        QStringLiteral("create index if not exists attempt_key on attempt(代码, 题号, answered_at)"),
        QStringLiteral("create table if not exists review_schedule(代码 text collate nocase not null, "
                       "题号 integer not null, stage integer not null, due_day integer not null)"),
        QStringLiteral(
            "create unique index if not exists review_schedule_key on review_schedule(代码, 题号)"),
        QStringLiteral(
            "create index if not exists review_schedule_due on review_schedule(due_day, 代码, 题号)"),
        QStringLiteral(
            "create table if not exists exam_result(id integer primary key, finished_at integer not null, "
            "score integer not null, full_score integer not null, questions integer not null, "
            "right_count integer not null, wrong_count integer not null, "
            "unanswered_count integer not null)"),
        // kstk numbers a paper's questions afresh; this keeps each one's number in tk.
        QStringLiteral("create table if not exists exam_source(代码 text collate nocase not null, "
                       "题号 integer not null, bank_number integer not null)"),
        QStringLiteral("create unique index if not exists exam_source_key on exam_source(代码, 题号)"),
    };
}

namespace {

// The memory of each practised question, beside the fixed-interval columns older programs use.
QStringList memoryStatements()
{
    return { QStringLiteral("alter table review_schedule add column stability real"),
        QStringLiteral("alter table review_schedule add column difficulty real"),
        QStringLiteral("alter table review_schedule add column last_day integer"),
        // Today's review ranks the due questions by their memory: the index holds all it reads.
        QStringLiteral(
            "create index if not exists review_schedule_urgency on review_schedule(due_day, last_day, "
            "stability, 代码, 题号)"),
        // The model's weights fitted to this candidate, with the attempts they were fitted on.
        QStringLiteral("create table if not exists memory_weights(id integer primary key, "
                       "attempts integer not null, weights text not null)") };
}

// What the score forecast reads without walking the attempts: the first outcome of each
// practised question, the attempts per section and type, and each exam's forecast.
QStringList forecastStatements()
{
    return { QStringLiteral("alter table review_schedule add column first_right integer"),
        QStringLiteral("alter table memory_weights add column recall_shift real"),
        QStringLiteral("create table if not exists attempt_summary(代码 text collate nocase not null, "
                       "题型 text not null, attempt_count integer not null, right_count integer not null, "
                       "seconds integer not null, primary key(代码, 题型))"),
        // The forecast and the draw of unseen questions read every question's key and type,
        // and every question's memory, in key order: from narrow indexes alone.
        QStringLiteral("create index if not exists tk_kind on tk(代码, 题号, 题型)"),
        QStringLiteral("create index if not exists review_schedule_memory on review_schedule(代码, 题号, "
                       "stability, last_day, first_right)"),
        QStringLiteral("delete from attempt_summary"), AttemptRepository::summaryFill(),
        // Every answered question in the schedule: the draw of unseen questions asks it alone.
        // Rows without memory are filled from the attempts at the next start.
        QStringLiteral(
            "insert into review_schedule(代码, 题号, stage, due_day) select distinct a.代码, a.题号, 0, 0 "
            "from attempt a where not exists(select 1 from review_schedule r where r.代码=a.代码 and "
            "r.题号=a.题号)"),
        // The first outcome of each practised question, where its attempts tell it.
        QStringLiteral(
            "update review_schedule set first_right=(select a.is_right from attempt a where "
            "a.代码=review_schedule.代码 and a.题号=review_schedule.题号 order by a.answered_at, a.id "
            "limit 1)"),
        // A paper's forecast is kept when it is drawn and joins its result when it is graded.
        QStringLiteral("create table if not exists exam_forecast(id integer primary key, result_id integer, "
                       "expected real not null, low integer not null, high integer not null, "
                       "pass_line integer not null, pass_chance real not null)") };
}

} // namespace

QStringList createStatements()
{
    return coreStatements() + recordStatements() + memoryStatements() + forecastStatements();
}

QStringList upgradeStatements(int version)
{
    if (version == 0) {
        QStringList s;
        for (const QString& statement : coreStatements()) {
            if (statement.startsWith(QStringLiteral("create index")))
                s << QString(statement).replace(
                    QStringLiteral("create index"), QStringLiteral("create index if not exists"));
        }
        return s;
    }
    if (version == 1)
        return QStringList { answeredIndex(QStringLiteral("tk")), TextIndex } + recordStatements();
    // Some banks of version 2 were written before its records joined it.
    if (version == 2)
        return recordStatements() << ReviewIndex;
    if (version == 3)
        return recordStatements() + memoryStatements();
    if (version == 4)
        return forecastStatements();
    return {};
}

bool hasTable(QuestionStore& store, const QString& name)
{
    return store
               .scalar(QStringLiteral("select count(*) from sqlite_master where type='table' and name=?"),
                   { name })
               .toInt()
        > 0;
}

QStringList missingTables(QuestionStore& store)
{
    namespace T = BankTables::Table;
    QStringList missing;
    for (const QStringView name :
        { T::Questions, T::Projects, T::Subjects, T::Sections, T::Tree, T::Texts }) {
        const QString table = name.toString();
        if (!hasTable(store, table))
            missing << table;
    }
    return missing;
}

} // namespace BankSchema
