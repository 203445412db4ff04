#include "TestBank.h"
#include "TestFolders.h"

#include "data/BankLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <sys/wait.h>
#include <unistd.h>

class tst_BankLock : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void oneBankOneHolder_data();
    void oneBankOneHolder();
    void otherBanksAreFree();
    void lockStaysOutOfTheBankFolder_data();
    void lockStaysOutOfTheBankFolder();
    void liveHolderKeepsTheBankAndADeadOneLosesIt();

private:
    TestFolders m_folders;
    QString m_bank;
};

void tst_BankLock::initTestCase()
{
    m_bank = m_folders.bankPath();
    TestBank bank(m_bank);
    bank.project(QStringLiteral("K"), QStringLiteral("证券市场基础知识"));
}

void tst_BankLock::oneBankOneHolder_data()
{
    QTest::addColumn<QString>("otherSpelling");
    const QString folder = QFileInfo(m_bank).absolutePath();
    QFile::link(m_bank, folder + QStringLiteral("/link.db"));
    QFile::link(folder, m_folders.path() + QStringLiteral("/data/linked-folder"));
    QTest::newRow("same path") << m_bank;
    QTest::newRow("dot-dots") << folder + QStringLiteral("/data/../bank.db");
    QTest::newRow("link to the file") << folder + QStringLiteral("/link.db");
    QTest::newRow("link to the folder") << m_folders.path() + QStringLiteral("/data/linked-folder/bank.db");
}

void tst_BankLock::oneBankOneHolder()
{
    QFETCH(QString, otherSpelling);
    BankLock first(m_bank);
    QCOMPARE(first.claim(), BankLock::Result::Claimed);
    QVERIFY(first.isClaimed());
    QCOMPARE(BankLock::holder(m_bank), qint64(::getpid()));

    BankLock second(otherSpelling);
    QCOMPARE(second.claim(), BankLock::Result::InUse);
    QVERIFY(!second.isClaimed());

    first.release();
    QVERIFY(!first.isClaimed());
    QCOMPARE(second.claim(), BankLock::Result::Claimed);
}

void tst_BankLock::otherBanksAreFree()
{
    // The first start claims a bank that is only made afterwards, in a folder not made yet.
    const QString later = m_folders.path() + QStringLiteral("/data/Vellumore/velm.db");
    BankLock one(m_bank);
    BankLock two(later);
    QCOMPARE(one.claim(), BankLock::Result::Claimed);
    QCOMPARE(two.claim(), BankLock::Result::Claimed);
    QVERIFY(QDir().mkpath(QFileInfo(later).absolutePath()));
    QVERIFY(QFile::copy(m_bank, later));
    QCOMPARE(BankLock(later).claim(), BankLock::Result::InUse);
    QVERIFY(QDir(QFileInfo(later).absolutePath()).removeRecursively());
}

void tst_BankLock::lockStaysOutOfTheBankFolder_data()
{
    QTest::addColumn<bool>("haveRuntimeFolder");
    QTest::newRow("runtime folder") << true;
    QTest::newRow("no runtime folder") << false;
}

void tst_BankLock::lockStaysOutOfTheBankFolder()
{
    QFETCH(bool, haveRuntimeFolder);
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!haveRuntimeFolder)
        qunsetenv("XDG_RUNTIME_DIR");
    const QString folder = QFileInfo(m_bank).absolutePath();
    const QStringList before = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    {
        BankLock lock(m_bank);
        QCOMPARE(lock.claim(), BankLock::Result::Claimed);
        const QString lockFile = BankLock::lockFilePath(m_bank);
        QVERIFY(QFileInfo::exists(lockFile));
        QCOMPARE(QFileInfo(lockFile).absolutePath(),
            haveRuntimeFolder ? m_folders.runtimePath() : QFileInfo(QDir::tempPath()).absoluteFilePath());
        // Nothing is made beside the bank, so a bank in a read-only folder can be claimed.
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);
    }
    QVERIFY(!QFileInfo::exists(BankLock::lockFilePath(m_bank)));
    qputenv("XDG_RUNTIME_DIR", runtime);
}

void tst_BankLock::liveHolderKeepsTheBankAndADeadOneLosesIt()
{
    int toChild[2];
    int fromChild[2];
    QCOMPARE(::pipe(toChild), 0);
    QCOMPARE(::pipe(fromChild), 0);
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        // Claims, says so, waits to be told, and dies without releasing anything.
        BankLock lock(m_bank);
        const char claimed = lock.claim() == BankLock::Result::Claimed ? 'y' : 'n';
        (void)!::write(fromChild[1], &claimed, 1);
        char go = 0;
        (void)!::read(toChild[0], &go, 1);
        ::_exit(0);
    }
    ::close(toChild[0]);
    ::close(fromChild[1]);
    char claimed = 0;
    QCOMPARE(::read(fromChild[0], &claimed, 1), ssize_t(1));
    QCOMPARE(claimed, 'y');

    BankLock lock(m_bank);
    QCOMPARE(BankLock::holder(m_bank), qint64(child));
    QCOMPARE(lock.claim(), BankLock::Result::InUse);

    QCOMPARE(::write(toChild[1], "x", 1), ssize_t(1));
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    ::close(toChild[1]);
    ::close(fromChild[0]);
    QVERIFY(QFileInfo::exists(BankLock::lockFilePath(m_bank)));
    QCOMPARE(lock.claim(), BankLock::Result::Claimed);
    QCOMPARE(BankLock::holder(m_bank), qint64(::getpid()));
}

QTEST_GUILESS_MAIN(tst_BankLock)
#include "tst_BankLock.moc"
