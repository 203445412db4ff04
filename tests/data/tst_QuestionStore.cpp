#include "TestBank.h"
#include "TestFolders.h"

#include "data/QuestionStore.h"
#include "data/Sqlite.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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
    void positionReadAndWritten();
    void brokenBankIsReportedAndLeftUntouched_data();
    void brokenBankIsReportedAndLeftUntouched();

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
        QVERIFY2(result.isDone(), qPrintable(result.reason()));
        QCOMPARE(result.rows(), rows);
    }
    QCOMPARE(store.scalar(QStringLiteral("select count(*) from tk where 答题='C'")).toInt(), 3);
}

void tst_QuestionStore::writeFailureSaysWhyAndChangesNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("reason");
    QTest::newRow("read-only bank") << QStringLiteral("read-only") << QStringLiteral("题库文件是只读的");
    QTest::newRow("write lock held elsewhere")
        << QStringLiteral("locked") << QStringLiteral("题库正被另一个程序使用");
    QTest::newRow("no connection") << QStringLiteral("closed") << QStringLiteral("题库没有打开");
}

void tst_QuestionStore::writeFailureSaysWhyAndChangesNothing()
{
    QFETCH(QString, how);
    QFETCH(QString, reason);
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
        QVERIFY(other.execute(QStringLiteral("begin immediate")));
        store.setBusyTimeout(150);
    }
    if (how == QLatin1String("closed"))
        store.close();

    const WriteResult result = store.write(
        QStringLiteral("update tk set 答题='A' where 代码=? and 题号=?"), { QStringLiteral("K0101"), 1 });
    QVERIFY(result.isFailed());
    QVERIFY2(result.reason().startsWith(reason), qPrintable(result.reason()));
    QVERIFY(result.notStoredMessage(QStringLiteral("您的答案")).contains(reason));

    if (how == QLatin1String("locked"))
        QVERIFY(other.execute(QStringLiteral("rollback")));
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
        QVERIFY(store.execute(QStringLiteral("drop table wz")));
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
    QVERIFY(!store.lastError().isEmpty());
    QVERIFY(!store.isOpen());

    QCOMPARE(fingerprint(), before);
    QCOMPARE(QFileInfo(path).lastModified(), modified);
    QCOMPARE(QFileInfo::exists(path), kind != QLatin1String("missing"));
    QVERIFY(!QFileInfo::exists(path + QStringLiteral("-journal")));
}

QTEST_GUILESS_MAIN(tst_QuestionStore)
#include "tst_QuestionStore.moc"
