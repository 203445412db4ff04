#include "BadBanks.h"
#include "PrivateMounts.h"
#include "TestBank.h"
#include "TestFolders.h"

#include "data/QuestionStore.h"
#include "data/Sqlite.h"
#include "data/ui/BankMessages.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTest>

class tst_QuestionStore : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QDir(bankPath()).removeRecursively();
        QFile::remove(bankPath());
    }
    void bankIsEncrypted();
    void absentAndEmptyAnswersStayApart();
    void quotesAreData();
    void writeCountsChangedRows();
    void writeFailureSaysWhyAndChangesNothing_data();
    void writeFailureSaysWhyAndChangesNothing();
    void writeTransactionIsAllOrNothing();
    void writeEachStopsAtTheFirstFailure();
    void streamReadsEveryRowOrSaysWhy();
    void positionReadAndWritten();
    void brokenBankIsReportedAndLeftUntouched_data();
    void brokenBankIsReportedAndLeftUntouched();
    void journalOfAnotherBankIsRefusedAndKept();
    void ownJournalIsPlayedBack();
    void readOnlyOpenReadsAnOlderVersion();
    void bankThatCannotBeWrittenOpensReadOnly_data();
    void bankThatCannotBeWrittenOpensReadOnly();
    void diskFullDuringANoteKeepsTheOldNote();

private:
    QString bankPath() const { return m_folders.bankPath(); }
    TestFolders m_folders;
};

void tst_QuestionStore::bankIsEncrypted()
{
    {
        TestBank bank(bankPath());
        bank.project(QStringLiteral("K"), QStringLiteral("证券市场基础知识"));
    }
    QFile file(bankPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(!bytes.startsWith("SQLite format 3"));
    QVERIFY(!bytes.contains(QStringLiteral("证券市场基础知识").toUtf8()));

    // Without the key the file is not a database; with it, the tables read.
    for (const bool keyed : { false, true }) {
        sqlite3* db = nullptr;
        QCOMPARE(
            sqlite3_open_v2(QFile::encodeName(bankPath()).constData(), &db, SQLITE_OPEN_READONLY, nullptr),
            SQLITE_OK);
        if (keyed)
            QuestionStore::applyKey(db);
        const int rc = sqlite3_exec(db, "select count(*) from xmdm", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        QCOMPARE(rc, keyed ? SQLITE_OK : SQLITE_NOTADB);
    }
}

void tst_QuestionStore::absentAndEmptyAnswersStayApart()
{
    TestBank bank(bankPath());
    const QString s = QStringLiteral("K0101");
    bank.question({ s, 1, QStringLiteral("单选"), QStringLiteral("A"), QVariant() })
        .question({ s, 2, QStringLiteral("单选"), QStringLiteral("A"), QString() })
        .question({ s, 3, QStringLiteral("多选"), QStringLiteral("ACD"), QStringLiteral("ACD") })
        .question({ s, 4, QStringLiteral("多选"), QStringLiteral("ACD"), QStringLiteral("CAD") });
    QuestionStore& store = bank.store();

    RowSet rows = store.query(QStringLiteral("select 题号, 答题 from tk order by 题号"));
    QVERIFY(rows.isValid());
    QVERIFY(rows.field(QStringLiteral("答题")).isNull());
    rows.next();
    QVERIFY(!rows.field(QStringLiteral("答题")).isNull());
    QCOMPARE(rows.field(QStringLiteral("答题")).toString(), QString());

    auto numbers = [&store](const QString& where) {
        QStringList n;
        for (RowSet r = store.query(
                 QStringLiteral("select 题号 from tk where ") + where + QStringLiteral(" order by 题号"));
             !r.atEnd(); r.next())
            n << r.field(QStringLiteral("题号")).toString();
        return n.join(u',');
    };
    QCOMPARE(numbers(QStringLiteral("ifnull(答题,'')<>''")), QStringLiteral("3,4")); // answered
    QCOMPARE(numbers(QStringLiteral("(答题 is null or 答题='')")), QStringLiteral("1,2")); // not answered
    QCOMPARE(numbers(QStringLiteral("答案<>答题 and ifnull(答题,'')<>''")), QStringLiteral("4")); // wrong
}

void tst_QuestionStore::quotesAreData()
{
    TestBank bank(bankPath());
    const QString name = QStringLiteral("O'Brien's 第一章 '; drop table tk; --");
    bank.section(QStringLiteral("K0101"), name);
    QuestionStore& store = bank.store();
    QCOMPARE(store.scalar(QStringLiteral("select 代码 from smdm where 细目=?"), { name }).toString(),
        QStringLiteral("K0101"));
    QCOMPARE(store.scalar(QStringLiteral("select 细目 from smdm")).toString(), name);
    QVERIFY(store.scalar(QStringLiteral("select count(*) from tk")).isValid());
}

namespace {

// Every row of tk as text, to see that a failed write changed nothing.
QString tkContent(QuestionStore& store)
{
    return store
        .scalar(QStringLiteral(
            "select group_concat(代码||'/'||题号||'/'||ifnull(答题,'<null>')||'/'||收藏否, ';') "
            "from (select * from tk order by 代码, 题号)"))
        .toString();
}

} // namespace

void tst_QuestionStore::writeCountsChangedRows()
{
    TestBank bank(bankPath());
    for (int n = 1; n <= 3; ++n)
        bank.question({ QStringLiteral("K0101"), n });
    QuestionStore& store = bank.store();
    const QString sql = QStringLiteral("update tk set 答题=? where 代码=? and 题号>=?");
    // The same statement text is prepared once and bound afresh each time.
    for (const auto& [from, rows] : { std::pair { 1, 3 }, std::pair { 3, 1 }, std::pair { 4, 0 } }) {
        const WriteResult result = store.write(sql, { QStringLiteral("C"), QStringLiteral("K0101"), from });
        QVERIFY2(result.isDone(), qPrintable(BankMessages::reason(result)));
        QCOMPARE(result.rows(), rows);
    }
    QCOMPARE(store.scalar(QStringLiteral("select count(*) from tk where 答题='C'")).toInt(), 3);
}

void tst_QuestionStore::writeFailureSaysWhyAndChangesNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<int>("kind");
    QTest::newRow("read-only bank") << QStringLiteral("read-only") << QStringLiteral("题库文件是只读的")
                                    << int(StoreFailure::Kind::ReadOnly);
    QTest::newRow("write lock held elsewhere")
        << QStringLiteral("locked") << QStringLiteral("题库正被另一个程序使用")
        << int(StoreFailure::Kind::Busy);
    QTest::newRow("no connection") << QStringLiteral("closed") << QStringLiteral("题库没有打开")
                                   << int(StoreFailure::Kind::NotOpen);
}

void tst_QuestionStore::writeFailureSaysWhyAndChangesNothing()
{
    QFETCH(QString, how);
    QFETCH(QString, reason);
    QFETCH(int, kind);
    {
        TestBank bank(bankPath());
        bank.question(
            { QStringLiteral("K0101"), 1, QStringLiteral("单选"), QStringLiteral("A"), QStringLiteral("B") });
    }
    QuestionStore store;
    QVERIFY(store.open(bankPath(),
        how == QLatin1String("read-only") ? QuestionStore::Mode::ReadOnly : QuestionStore::Mode::ReadWrite));
    const QString before = tkContent(store);
    QuestionStore other;
    if (how == QLatin1String("locked")) {
        QVERIFY(other.open(bankPath()));
        QVERIFY(other.write(QStringLiteral("begin immediate")).isDone());
        store.setBusyTimeout(150);
    }
    if (how == QLatin1String("closed"))
        store.close();

    const WriteResult result = store.write(
        QStringLiteral("update tk set 答题='A' where 代码=? and 题号=?"), { QStringLiteral("K0101"), 1 });
    QVERIFY(result.isFailed());
    QCOMPARE(int(result.failure().kind), kind);
    QVERIFY2(BankMessages::reason(result).startsWith(reason), qPrintable(BankMessages::reason(result)));
    QVERIFY(BankMessages::notStored(QStringLiteral("您的答案"), result).contains(reason));

    if (how == QLatin1String("locked"))
        QVERIFY(other.write(QStringLiteral("rollback")).isDone());
    if (how == QLatin1String("closed"))
        QVERIFY(store.open(bankPath()));
    QCOMPARE(tkContent(store), before);
}

void tst_QuestionStore::writeTransactionIsAllOrNothing()
{
    TestBank bank(bankPath());
    bank.question({ QStringLiteral("K0101"), 1 });
    QuestionStore& store = bank.store();
    const WriteResult result = store.writeTransaction([&] {
        const WriteResult first = store.write(QStringLiteral("update tk set 答题='D' where 题号=1"));
        if (!first.isDone())
            return first;
        return store.write(QStringLiteral("update no_such_table set x=1"));
    });
    QVERIFY(result.isFailed());
    QVERIFY(store.scalar(QStringLiteral("select 答题 from tk where 题号=1")).isNull());

    const WriteResult nothing
        = store.writeTransaction([] { return WriteResult::nothing(QStringLiteral("无事可做")); });
    QVERIFY(nothing.isNothing());
    QVERIFY(store.write(QStringLiteral("update tk set 答题='D' where 题号=1"))
                .isDone()); // no transaction left open
}

void tst_QuestionStore::writeEachStopsAtTheFirstFailure()
{
    TestBank bank(bankPath());
    QuestionStore& store = bank.store();
    const QString sql
        = QStringLiteral("insert into review_schedule(代码, 题号, stage, due_day) values(?, ?, 0, 1)");
    const WriteResult done = store.writeEach(sql, { { u"K0101"_qs, 1 }, { u"K0101"_qs, 2 } });
    QVERIFY(done.isDone());
    QCOMPARE(done.rows(), 2);
    // The unique key refuses the second row; the third is never tried.
    const WriteResult failed
        = store.writeEach(sql, { { u"K0101"_qs, 3 }, { u"K0101"_qs, 1 }, { u"K0101"_qs, 4 } });
    QVERIFY(failed.isFailed());
    QCOMPARE(store.scalar(u"select group_concat(题号) from review_schedule"_qs).toString(), u"1,2,3"_qs);
}

void tst_QuestionStore::streamReadsEveryRowOrSaysWhy()
{
    TestBank bank(bankPath());
    for (int n = 1; n <= 3; ++n)
        bank.question({ QStringLiteral("K0101"), n });
    QuestionStore& store = bank.store();
    QStringList rows;
    QString error;
    QVERIFY(store.stream(
        u"select 代码, 题号 from tk where 题号>=? order by 题号"_qs, { 2 },
        [&rows](const StreamedRow& row) { rows << row.text(0) + u'/' + QString::number(row.integer(1)); },
        &error));
    QCOMPARE(rows, QStringList({ u"K0101/2"_qs, u"K0101/3"_qs }));
    QVERIFY(!store.stream(
        u"select x from no_such_table"_qs, {}, [](const StreamedRow&) {}, &error));
    QVERIFY2(error.contains(u"no_such_table"_qs), qPrintable(error));
}

void tst_QuestionStore::positionReadAndWritten()
{
    TestBank bank(bankPath());
    for (int n = 1; n <= 4; ++n)
        bank.question({ QStringLiteral("K0101"), n * 10 });
    {
        RowSet rows = bank.store().query(QStringLiteral("select * from tk order by 题号"));
        QCOMPARE(rows.position(), 1);
        QVERIFY(rows.setPosition(3));
        QCOMPARE(rows.field(QStringLiteral("题号")).toInt(), 30);
        QCOMPARE(rows.position(), 3);
        QVERIFY(!rows.setPosition(5));
        rows.setPosition(4);
        rows.next();
        QVERIFY(rows.atEnd());
        QCOMPARE(rows.position(), 0);
        QVERIFY(rows.field(QStringLiteral("题号")).isNull());
    }
}

void tst_QuestionStore::brokenBankIsReportedAndLeftUntouched_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("error");
    QTest::newRow("missing") << "missing" << int(QuestionStore::OpenError::NotFound);
    QTest::newRow("folder") << "folder" << int(QuestionStore::OpenError::NotFound);
    QTest::newRow("empty file") << "empty" << int(QuestionStore::OpenError::MissingTables);
    QTest::newRow("text file") << "text" << int(QuestionStore::OpenError::NotABank);
    QTest::newRow("plain sqlite") << "plain" << int(QuestionStore::OpenError::NotABank);
    QTest::newRow("other password") << "password" << int(QuestionStore::OpenError::NotABank);
    QTest::newRow("truncated") << "truncated" << int(QuestionStore::OpenError::Damaged);
    QTest::newRow("header damaged") << "header" << int(QuestionStore::OpenError::NotABank);
    QTest::newRow("tables missing") << "tables" << int(QuestionStore::OpenError::MissingTables);
}

void tst_QuestionStore::brokenBankIsReportedAndLeftUntouched()
{
    QFETCH(QString, kind);
    QFETCH(int, error);
    const QString path = bankPath();
    QFile::remove(path);

    auto rawDatabase = [&path](const char* key, const char* sql) {
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(path).constData(), &db);
        if (key)
            sqlite3_key(db, key, int(strlen(key)));
        sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
        sqlite3_close(db);
    };
    auto writeFile = [&path](const QByteArray& bytes) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };

    if (kind == QLatin1String("folder")) {
        QDir().mkpath(path);
    } else if (kind == QLatin1String("empty")) {
        writeFile({});
    } else if (kind == QLatin1String("text")) {
        writeFile("这不是题库\n");
    } else if (kind == QLatin1String("plain")) {
        rawDatabase(nullptr, "create table tk(x); insert into tk values(1);");
    } else if (kind == QLatin1String("password")) {
        rawDatabase("12345678901", "create table tk(x); insert into tk values(1);");
    } else if (kind == QLatin1String("tables")) {
        QuestionStore store;
        QVERIFY(store.create(path));
        QVERIFY(store.write(QStringLiteral("drop table wz")).isDone());
    } else if (kind != QLatin1String("missing")) {
        {
            TestBank bank(path);
            for (int n = 1; n <= 200; ++n)
                bank.question({ QStringLiteral("K0101"), n, QStringLiteral("单选"), QStringLiteral("A"),
                    QVariant(), false, QString(500, u'题') });
        }
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        if (kind == QLatin1String("truncated")) {
            f.resize(f.size() / 2);
        } else {
            f.seek(100);
            f.write(QByteArray(64, '\x5a'));
        }
    }

    auto fingerprint = [&path] {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return QByteArray("<none>");
        return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
    };
    const QByteArray before = fingerprint();
    const QDateTime modified = QFileInfo(path).lastModified();

    QuestionStore store;
    QVERIFY(!store.open(path));
    QCOMPARE(int(store.openError()), error);
    QVERIFY(!BankMessages::reason(store.failure()).isEmpty());
    QVERIFY(!store.isOpen());

    QCOMPARE(fingerprint(), before);
    QCOMPARE(QFileInfo(path).lastModified(), modified);
    QCOMPARE(QFileInfo::exists(path), kind != QLatin1String("missing"));
    QVERIFY(!QFileInfo::exists(path + QStringLiteral("-journal")));
}

namespace {

QByteArray pageOne(const QString& path)
{
    return BadBanks::contents(path).left(QuestionStore::CipherPageSize);
}

quint32 pageCount(const QString& path)
{
    return quint32(QFileInfo(path).size() / QuestionStore::CipherPageSize);
}

} // namespace

void tst_QuestionStore::journalOfAnotherBankIsRefusedAndKept()
{
    const QString other = m_folders.path() + QStringLiteral("/other.db");
    QFile::remove(other);
    {
        TestBank bank(bankPath());
        bank.question({ QStringLiteral("K0101"), 1 });
        TestBank(other).question({ QStringLiteral("L0101"), 7 });
    }
    const QString journal = bankPath() + QStringLiteral("-journal");
    BadBanks::writeJournal(journal, pageOne(other), pageCount(bankPath()));
    const auto cleanup = qScopeGuard([&] { QFile::remove(journal); });
    const QByteArray bank = BadBanks::contents(bankPath());
    const QByteArray journalBytes = BadBanks::contents(journal);

    for (const auto mode : { QuestionStore::Mode::ReadWrite, QuestionStore::Mode::ReadOnly }) {
        QuestionStore store;
        QVERIFY(!store.open(bankPath(), mode));
        QCOMPARE(store.openError(), QuestionStore::OpenError::ForeignJournal);
        QVERIFY2(BankMessages::reason(store.failure()).contains(QDir::toNativeSeparators(journal)),
            qPrintable(BankMessages::reason(store.failure())));
        QCOMPARE(BadBanks::contents(bankPath()), bank);
        QCOMPARE(BadBanks::contents(journal), journalBytes);
    }

    // What was refused is a journal the engine would have played back over the bank.
    const QString copy = m_folders.path() + QStringLiteral("/copy.db");
    QFile::remove(copy);
    QVERIFY(QFile::copy(bankPath(), copy));
    QVERIFY(QFile::copy(journal, copy + QStringLiteral("-journal")));
    sqlite3* db = nullptr;
    QCOMPARE(
        sqlite3_open_v2(QFile::encodeName(copy).constData(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    QuestionStore::applyKey(db);
    sqlite3_exec(db, "select count(*) from tk", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    QVERIFY(!QFile::exists(copy + QStringLiteral("-journal")));
    QVERIFY(pageOne(copy) != pageOne(bankPath()));
}

void tst_QuestionStore::ownJournalIsPlayedBack()
{
    // A crash in the middle of a write leaves the bank's own journal: it is rolled back.
    {
        TestBank bank(bankPath());
        bank.question({ QStringLiteral("K0101"), 1 });
    }
    const QByteArray before = pageOne(bankPath());
    const quint32 pages = pageCount(bankPath());
    {
        QuestionStore store;
        QVERIFY(store.open(bankPath()));
        QVERIFY(store.write(QStringLiteral("update tk set 答题='B'")).isDone());
    }
    QVERIFY(pageOne(bankPath()) != before);
    const QString journal = bankPath() + QStringLiteral("-journal");
    BadBanks::writeJournal(journal, before, pages);

    QuestionStore store;
    QVERIFY2(store.open(bankPath()), qPrintable(BankMessages::reason(store.failure())));
    QVERIFY(!QFile::exists(journal));
    QCOMPARE(pageOne(bankPath()), before);
}

void tst_QuestionStore::readOnlyOpenReadsAnOlderVersion()
{
    {
        TestBank bank(bankPath());
        bank.question({ QStringLiteral("K0101"), 1 });
        QVERIFY(bank.store().write(QStringLiteral("PRAGMA user_version = 0")).isDone());
    }
    const QByteArray bytes = BadBanks::contents(bankPath());
    QuestionStore store;
    QVERIFY2(store.open(bankPath(), QuestionStore::Mode::ReadOnly),
        qPrintable(BankMessages::reason(store.failure())));
    QVERIFY(store.isReadOnly());
    QCOMPARE(store.schemaVersion(), 0);
    QCOMPARE(store.scalar(QStringLiteral("select count(*) from tk")).toInt(), 1);
    store.close();
    QCOMPARE(BadBanks::contents(bankPath()), bytes);
}

void tst_QuestionStore::bankThatCannotBeWrittenOpensReadOnly_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("read-only file") << "read-only" << u"题库文件是只读的"_qs;
    QTest::newRow("read-only folder") << "read-only folder" << u"不能写入"_qs;
}

void tst_QuestionStore::bankThatCannotBeWrittenOpensReadOnly()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    const QString folder = m_folders.path() + QStringLiteral("/") + kind;
    QDir(folder).removeRecursively();
    QVERIFY(QDir().mkpath(folder));
    const BadBanks::Made made = BadBanks::make(kind, folder, [](TestBank& bank) {
        bank.question({ QStringLiteral("K0101"), 1 });
    });
    const auto undo = qScopeGuard([&made] { BadBanks::undo(made); });
    if (!made.skip.isEmpty())
        QSKIP(qPrintable(made.skip));
    const QByteArray bytes = BadBanks::contents(made.bank);

    QuestionStore store;
    QVERIFY(!store.open(made.bank));
    QCOMPARE(store.openError(), QuestionStore::OpenError::NotWritable);
    QVERIFY2(BankMessages::reason(store.failure()).contains(reason),
        qPrintable(BankMessages::reason(store.failure())));
    QVERIFY(store.open(made.bank, QuestionStore::Mode::ReadOnly));
    QCOMPARE(store.scalar(QStringLiteral("select count(*) from tk")).toInt(), 1);
    const WriteResult write = store.write(QStringLiteral("update tk set 答题='A'"));
    QVERIFY(write.isFailed());
    store.close();
    QCOMPARE(BadBanks::contents(made.bank), bytes);
}

void tst_QuestionStore::diskFullDuringANoteKeepsTheOldNote()
{
    QString why;
    if (!PrivateMounts::enter(&why))
        QSKIP(qPrintable(why));
    const QString disk = m_folders.path() + QStringLiteral("/disk");
    QVERIFY(QDir().mkpath(disk));
    const QString path = disk + QStringLiteral("/bank.db");
    QVERIFY2(PrivateMounts::mountSmallDisk(disk, 2 << 20, &why), qPrintable(why));
    const auto unmount = qScopeGuard([&disk] { PrivateMounts::unmount(disk); });
    {
        TestBank bank(path);
        bank.question({ QStringLiteral("K0101"), 1 });
        QVERIFY(bank.store().write(QStringLiteral("update tk set zs='旧的笔记'")).isDone());
    }
    // Room for the journal to begin, not for the note: the write fails part of the way.
    QVERIFY2(PrivateMounts::fill(disk, 64 << 10, &why), qPrintable(why));
    const qint64 size = QFileInfo(path).size();

    QuestionStore store;
    QVERIFY(store.open(path));
    const QString before = tkContent(store);
    const WriteResult result
        = store.write(QStringLiteral("update tk set zs=? where 题号=1"), { QString(1 << 20, u'记') });
    QVERIFY(result.isFailed());
    QVERIFY2(BankMessages::reason(result).startsWith(QStringLiteral("磁盘空间已满")),
        qPrintable(BankMessages::reason(result)));
    store.close();

    // A failed commit may leave the bank's own journal, which the next open plays back. The
    // pages put back are encrypted afresh, so the bytes may differ; the content does not.
    QVERIFY(store.open(path));
    QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
    QCOMPARE(QFileInfo(path).size(), size);
    QCOMPARE(store.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
    QCOMPARE(store.scalar(QStringLiteral("select zs from tk")).toString(), QStringLiteral("旧的笔记"));
    QCOMPARE(tkContent(store), before);
}

QTEST_GUILESS_MAIN(tst_QuestionStore)
#include "tst_QuestionStore.moc"
