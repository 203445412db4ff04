// The process the crash harness kills: it opens the bank and writes a seeded stream of
// answers, favourite marks, notes and exam answers through the program's own
// operations, reporting each write that came back done on stdout, until it is killed.
#include "CrashStream.h"

#include "data/QuestionStore.h"
#include "data/ui/BankMessages.h"
#include "exam/ExamSession.h"
#include "exam/WorkingSet.h"
#include "practice/Answers.h"
#include "practice/Favourites.h"
#include "practice/QuestionEditor.h"
#include "session/StudySession.h"

#include <QCoreApplication>
#include <QVector>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>

#include <unistd.h>

namespace {

/// One write() per line: a pipe takes a short line whole, so the harness never reads
/// half a report from a child killed while printing.
void report(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    qint64 written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, bytes.constData() + written, size_t(bytes.size() - written));
        if (n <= 0)
            std::exit(5);
        written += n;
    }
}

[[noreturn]] void giveUp(int code, const QString& why)
{
    std::fputs((why + u'\n').toUtf8().constData(), stderr);
    std::exit(code);
}

QString answerText(std::mt19937& random, const QString& tag)
{
    static const QString letters = QStringLiteral("ABCDE");
    QString answer;
    for (const QChar letter : letters) {
        if (random() % 2)
            answer += letter;
    }
    // Now and then the empty text, which must not come back absent.
    return random() % 8 == 0 ? QStringLiteral("") : answer + u'-' + tag;
}

QString notesText(std::mt19937& random, const QString& tag)
{
    // Mostly short, sometimes spanning several pages of the bank.
    const int length = random() % 4 == 0 ? int(random() % 12000) : int(random() % 200);
    QString filler;
    filler.reserve(length);
    static const QString pool = QStringLiteral("证券市场基础知识笔记abc{}\\'\" 0123456789");
    for (int i = 0; i < length; ++i)
        filler += pool.at(int(random() % uint(pool.size())));
    return QStringLiteral("{\\rtf1 %1 %2}").arg(tag, filler);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4)
        giveUp(2, QStringLiteral("usage: crash_child <bank> <seed> <run>"));
    const QString& bank = args.at(1);
    std::mt19937 random(args.at(2).toUInt());
    const QString& run = args.at(3);

    QuestionStore store;
    if (!store.open(bank))
        giveUp(3, QStringLiteral("cannot open %1: %2").arg(bank, BankMessages::reason(store.failure())));

    QVector<QuestionKey> keys;
    for (RowSet rows = store.query(QStringLiteral("select 代码, 题号 from tk order by rowid")); !rows.atEnd();
         rows.next())
        keys.append({ rows.field(0).toString(), rows.field(1).toString() });
    if (keys.isEmpty())
        giveUp(3, QStringLiteral("the bank holds no questions"));

    // The exam starts once; later runs carry on answering in the working set it made.
    StudySession state;
    ExamSession exam(store, state);
    const bool haveWorkingSet
        = store.scalar(QStringLiteral("select count(*) from sqlite_master where name='kstk'")).toInt() > 0;
    if (!haveWorkingSet) {
        const WriteResult made = exam.start([&] { return WorkingSet::fillFromBank(store); });
        if (!made.isDone())
            giveUp(4, QStringLiteral("exam start failed: %1").arg(BankMessages::reason(made)));
        report(QString::fromLatin1(CrashStream::ExamMade) + u'\n');
    }
    state.setExamRunning(true);
    report(QString::fromLatin1(CrashStream::Ready) + u'\n');
    // The writes start when the harness says so, so that it times the kill from there.
    char go = 0;
    if (::read(STDIN_FILENO, &go, 1) != 1)
        giveUp(2, QStringLiteral("no go from the harness"));

    for (qint64 op = 0;; ++op) {
        const QuestionKey& key = keys.at(int(random() % uint(keys.size())));
        const QString tag = QStringLiteral("r%1-%2").arg(run).arg(op);
        // Each write is announced, made, and reported done.
        const auto write = [&](const QString& table, const QString& field, const QVariant& value,
                               const std::function<WriteResult()>& work, const char* what) {
            report(CrashStream::line(CrashStream::Will, table, field, key.code, key.number, value));
            const WriteResult result = work();
            if (result.isFailed())
                giveUp(4,
                    QStringLiteral("%1 failed: %2").arg(QLatin1String(what), BankMessages::reason(result)));
            if (result.isDone())
                report(CrashStream::line(CrashStream::Done, table, field, key.code, key.number, value));
        };
        const QString bankTable = tableName(QuestionTable::Bank);
        switch (random() % 6) {
        case 0:
        case 1: {
            const QString answer = answerText(random, tag);
            write(
                bankTable, QStringLiteral("答题"), answer,
                [&] { return Answers::StoreAnswer(store, QuestionTable::Bank, key, answer); }, "answer");
            break;
        }
        case 2: {
            const QString answer = answerText(random, tag);
            write(
                tableName(exam.table()), QStringLiteral("答题"), answer,
                [&] { return Answers::StoreAnswer(store, exam.table(), key, answer); }, "exam answer");
            break;
        }
        case 3:
            write(
                bankTable, QStringLiteral("收藏否"), -1,
                [&] {
                    WriteResult failed = WriteResult::done();
                    // Marked already counts as done: the mark is there either way.
                    return Favourites::AddToFavourites(store, key, &failed) == Favourites::AddResult::Failed
                        ? failed
                        : WriteResult::done();
                },
                "favourite");
            break;
        case 4:
            write(
                bankTable, QStringLiteral("收藏否"), 0,
                [&] { return Favourites::RemoveFromFavourites(store, key); }, "unfavourite");
            break;
        default: {
            const QString notes = notesText(random, tag);
            write(
                bankTable, QStringLiteral("zs"), notes,
                [&] { return QuestionEditor::SaveNotes(store, key, notes); }, "notes");
            break;
        }
        }
    }
}
