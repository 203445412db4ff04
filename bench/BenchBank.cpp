#include "BenchBank.h"

#include "BankWriter.h"
#include "data/AttemptRepository.h"
#include "data/QuestionStore.h"
#include "data/ui/BankMessages.h"
#include "practice/Answers.h"
#include "practice/ReviewSchedule.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace BenchBank {
namespace {

QString folder()
{
    const QByteArray env = qgetenv("VELLUMORE_BENCH_DIR");
    const QString dir
        = env.isEmpty() ? QDir::tempPath() + QStringLiteral("/vellumore-bench") : QString::fromLocal8Bit(env);
    QDir().mkpath(dir);
    return dir;
}

[[noreturn]] void die(const QString& message)
{
    std::fprintf(stderr, "bench: %s\n", qPrintable(message));
    std::exit(1);
}

} // namespace

QString synthetic(int questions, int sections)
{
    const QString path = folder() + QStringLiteral("/bank-%1-%2.db").arg(questions).arg(sections);
    if (!QFile::exists(path)) {
        std::fprintf(stderr, "bench: generating %s (once)\n", qPrintable(path));
        BankWriter::SyntheticOptions options;
        options.questions = questions;
        options.sections = sections;
        QString error;
        if (!BankWriter::writeSynthetic(options, path, &error))
            die(error);
    }
    return path;
}

QString withoutIndexes(int questions, int sections)
{
    const QString path = folder() + QStringLiteral("/bank-%1-%2-noindex.db").arg(questions).arg(sections);
    if (QFile::exists(path))
        return path;
    const QString part = path + QStringLiteral(".part");
    QFile::remove(part);
    if (!QFile::copy(synthetic(questions, sections), part))
        die(QStringLiteral("cannot copy the bank"));
    {
        QuestionStore store;
        if (!store.open(part))
            die(BankMessages::reason(store.failure()));
        RowSet indexes = store.query(QStringLiteral("select name from sqlite_master where type='index'"));
        for (; !indexes.atEnd(); indexes.next())
            store.write(QStringLiteral("drop index ") + indexes.field(QStringLiteral("name")).toString())
                .isDone();
        store.write(QStringLiteral("vacuum")).isDone();
    }
    QFile::rename(part, path);
    return path;
}

QString withHistory()
{
    const QString path = large() + QStringLiteral("-review");
    if (!QFile::exists(path) && !QFile::copy(large(), path))
        return {};
    QuestionStore store;
    if (!store.open(path))
        return {};
    constexpr int historyRows = 1000000;
    if (store.scalar(QStringLiteral("select count(*) from attempt")).toInt() >= historyRows)
        return path;
    std::fprintf(stderr, "bench: adding %d attempts (once)\n", historyRows);
    const qint64 last = store.scalar(QStringLiteral("select max(rowid) from tk")).toLongLong();
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    const qint64 today = ReviewSchedule::dayOf(QDateTime::currentDateTime());
    const bool ok
        = store
              .writeTransaction([&] {
                  // The review node sits with the personal nodes, which the generated catalogue lacks.
                  const bool written
                      = store.write(QStringLiteral("insert into xmdm values('W', '个人')")).isDone()
                      && store.write(QStringLiteral("insert into kmdm values('W01', '个人题库')")).isDone()
                      && store.write(QStringLiteral("insert into smdm values('W0101', '个人收藏试题')"))
                             .isDone()
                      && store.write(QStringLiteral("delete from attempt")).isDone()
                      && store.write(QStringLiteral("delete from review_schedule")).isDone()
                      && store
                             .write(QStringLiteral(
                                        "with recursive n(i) as (select 1 union all select i+1 from n where "
                                        "i<?) "
                                        "insert into attempt(代码, 题号, started_at, answered_at, seconds, "
                                        "answer, "
                                        "is_right, source, clicks) "
                                        "select t.代码, t.题号, ? - i * 60 - 20, ? - i * 60, 20, 'A', i % 3 "
                                        "<> 0, "
                                        "'practice', 1 from n join tk t on t.rowid = 1 + (i * 7919) % ?"),
                                 { historyRows, now, now, last })
                             .isDone()
                      // Every tenth question practised, due over forty-one days, forgotten at
                      // different paces.
                      && store
                             .write(QStringLiteral(
                                        "insert or ignore into review_schedule(代码, 题号, stage, due_day, "
                                        "stability, difficulty, last_day) "
                                        "select 代码, 题号, 0, ? - 10 + rowid % 41, 1 + rowid % 20, 5, "
                                        "? - 11 + rowid % 41 - rowid % 20 from tk where rowid % 10 = 0"),
                                 { today, today })
                             .isDone();
                  return written ? WriteResult::done()
                                 : WriteResult::failed(QStringLiteral("cannot add the history"));
              })
              .isDone();
    return ok ? path : QString();
}

void timeAnswers(benchmark::State& state, QuestionStore& store)
{
    // Questions spread over the bank, as a candidate moving through sections; grouped rows
    // take no answer.
    RowSet keys = store.query(QStringLiteral("select 代码, 题号 from tk where rowid % 997 = 0 and 题型 in "
                                             "('单选', '多选', '判断', '不定项') limit 400"));
    std::vector<QuestionKey> questions;
    for (; !keys.atEnd(); keys.next())
        questions.push_back({ keys.field(0).toString(), keys.field(1).toString() });

    std::vector<double> ms;
    size_t i = 0;
    const QString answers[] = { QStringLiteral("A"), QStringLiteral("B") };
    for (auto _ : state) {
        const QuestionKey& key = questions[i % questions.size()];
        QElapsedTimer timer;
        timer.start();
        const WriteResult result
            = Answers::StoreAnswer(store, QuestionTable::Bank, key, answers[(i / questions.size()) % 2]);
        ms.push_back(timer.nsecsElapsed() / 1e6);
        if (!result.isDone())
            state.SkipWithError(qPrintable(BankMessages::reason(result)));
        ++i;
    }
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p99_ms"] = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
}

QString allPractised()
{
    const QString path = BenchBank::large() + QStringLiteral("-forecast");
    if (!QFile::exists(path) && !QFile::copy(BenchBank::large(), path))
        return {};
    QuestionStore store;
    if (!store.open(path))
        return {};
    if (store.scalar(QStringLiteral("select count(*) from attempt")).toInt() >= 1000000)
        return path;
    std::fprintf(stderr, "bench: adding 1,000,000 attempts and the schedule (once)\n");
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    const qint64 today = QDate::currentDate().toJulianDay();
    const qint64 last = store.scalar(QStringLiteral("select max(rowid) from tk")).toLongLong();
    const WriteResult written = store.writeTransaction([&] {
        for (const QString& sql :
            { QStringLiteral("delete from attempt"), QStringLiteral("delete from review_schedule"),
                QStringLiteral("delete from attempt_summary") }) {
            const WriteResult r = store.write(sql);
            if (!r.isDone())
                return r;
        }
        const WriteResult attempts = store.write(
            QStringLiteral(
                "with recursive n(i) as (select 1 union all select i+1 from n where i<1000000) "
                "insert into attempt(代码, 题号, started_at, answered_at, seconds, answer, is_right, "
                "source, clicks) select t.代码, t.题号, ? - i * 60 - 20 - i % 90, ? - i * 60, 20 + i % 90, "
                "'A', i % 3 <> 0, 'practice', 1 from n join tk t on t.rowid = 1 + (i * 7919) % ?"),
            { now, now, last });
        if (!attempts.isDone())
            return attempts;
        const WriteResult schedule = store.write(
            QStringLiteral(
                "insert or ignore into review_schedule(代码, 题号, stage, due_day, stability, difficulty, "
                "last_day, first_right) select 代码, 题号, 0, ? - 10 + rowid % 41, 1 + rowid % 20, 5, "
                "? - 11 + rowid % 41 - rowid % 20, rowid % 3 <> 0 from tk"),
            { today, today });
        if (!schedule.isDone())
            return schedule;
        return store.write(AttemptRepository::summaryFill());
    });
    return written.isDone() ? path : QString();
}

} // namespace BenchBank
