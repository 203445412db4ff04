#include "BadBanks.h"
#include "Fixtures.h"
#include "MainWindowDriver.h"
#include "Named.h"
#include "TestBank.h"
#include "TestEnvironment.h"
#include "WindowTest.h"

#include "catalogue/ui/CatalogueTree.h"
#include "controls/MessageBox.h"
#include "data/BankLocation.h"
#include "shell/ui/frmmain.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_frmmain : public WindowTest
{
    Q_OBJECT

private slots:
    void firstStartCopiesTheSampleBank();
    void unreadableBankIsReportedOnce_data();
    void unreadableBankIsReportedOnce();
    void badBankFileIsToldAndLeftAsItWas_data();
    void badBankFileIsToldAndLeftAsItWas();
    void closeAsksFirst_data();
    void closeAsksFirst();
};

void tst_frmmain::firstStartCopiesTheSampleBank()
{
    const QString bank = BankLocation::bankPath();
    QVERIFY(!QFileInfo::exists(bank));
    QVERIFY2(!BankLocation::sampleBankPath().isEmpty(), "the sample bank is built beside the tests");

    frmmain window;
    QVERIFY(MessageBox::takeShown().isEmpty());
    QVERIFY(window.store().isOpen());
    QVERIFY(QFileInfo::exists(bank));
    QCOMPARE(QFileInfo(bank).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup),
        QFileDevice::Permissions());

    // The sample catalogue: projects at the top, the special entries among the nodes.
    CatalogueTree* tree = named<CatalogueTree>(&window, u"TreeView1"_s);
    QVERIFY(tree->topLevelItemCount() >= 2);
    QStringList texts;
    for (int i = 1; i <= tree->nodeCount(); ++i)
        texts << tree->itemAt(i)->text(0);
    for (const QString& special :
        { u"个人收藏试题"_qs, u"个人做错的题"_qs, u"个人做过的题"_qs, u"模拟考场"_qs })
        QVERIFY2(texts.contains(special), qPrintable(special));

    // Questions, but no history: nothing marked, nothing answered.
    QuestionStore& store = window.store();
    QVERIFY(store.scalar(u"select count(*) from tk"_qs).toInt() > 100);
    QCOMPARE(store.scalar(u"select count(*) from tk where 收藏否<>0"_qs).toInt(), 0);
    QCOMPARE(store.scalar(u"select count(*) from tk where 答题 is not null"_qs).toInt(), 0);
}

void tst_frmmain::unreadableBankIsReportedOnce_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("a file stands where the folder goes") << "folder";
    QTest::newRow("the bank is not a database") << "text";
    QTest::newRow("the bank is damaged") << "damaged";
}

void tst_frmmain::unreadableBankIsReportedOnce()
{
    QFETCH(QString, kind);
    const QString bank = BankLocation::bankPath();
    const QString folder = QFileInfo(bank).absolutePath();
    const QString blocker = kind == QLatin1String("folder") ? folder : bank;
    QDir().mkpath(QFileInfo(blocker).absolutePath());
    {
        QFile f(blocker);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(kind == QLatin1String("damaged") ? QByteArray(8192, '\x17') : QByteArray("不是题库\n"));
    }
    QFile in(blocker);
    QVERIFY(in.open(QIODevice::ReadOnly));
    const QByteArray before = in.readAll();
    in.close();

    frmmain window;
    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].icon, QMessageBox::Critical);
    QVERIFY2(shown[0].text.contains(QDir::toNativeSeparators(blocker)), qPrintable(shown[0].text));
    QVERIFY(!window.store().isOpen());
    QCOMPARE(named<CatalogueTree>(&window, u"TreeView1"_s)->topLevelItemCount(), 0);

    QVERIFY(in.open(QIODevice::ReadOnly));
    QCOMPARE(in.readAll(), before);
    QCOMPARE(QDir(QFileInfo(blocker).absolutePath()).entryList(QDir::Files).size(), 1); // nothing beside it
}

void tst_frmmain::badBankFileIsToldAndLeftAsItWas_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("goesOn"); // "browse", "read-write" or "" when nothing opens
    const int warning = QMessageBox::Warning;
    const int critical = QMessageBox::Critical;
    QTest::newRow("read-only bank") << "read-only" << warning << u"题库文件是只读的"_qs << u"browse"_qs;
    QTest::newRow("read-only folder") << "read-only folder" << warning << u"文件夹"_qs << u"browse"_qs;
    QTest::newRow("full disk") << "full disk" << critical << u"磁盘空间已满"_qs << u"read-write"_qs;
    QTest::newRow("zero bytes") << "zero bytes" << critical << u"文件是空的"_qs << QString();
    QTest::newRow("truncated mid-page") << "truncated" << critical << u"文件已损坏"_qs << QString();
    QTest::newRow("another program's SQLite file")
        << "plain sqlite" << critical << u"未加密的数据库文件"_qs << QString();
    QTest::newRow("hot journal of another bank")
        << "foreign journal" << critical << u"不属于这个题库"_qs << QString();
}

void tst_frmmain::badBankFileIsToldAndLeftAsItWas()
{
    QFETCH(QString, kind);
    QFETCH(int, icon);
    QFETCH(QString, reason);
    QFETCH(QString, goesOn);
    const QString folder = m_env->path() + QStringLiteral("/banks");
    QVERIFY(QDir().mkpath(folder));
    const BadBanks::Made made = BadBanks::make(kind, folder, Fixtures::answeredBank);
    const auto undo = qScopeGuard([&made] { BadBanks::undo(made); });
    if (!made.skip.isEmpty())
        QSKIP(qPrintable(made.skip));
    const QByteArray bank = BadBanks::contents(made.bank);
    const QByteArray journal = BadBanks::contents(made.journal);
    {
        MainWindowDriver driver(made.bank);
        const auto shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(int(shown[0].icon), icon);
        // The file named is the bank, or the journal when that is the fault.
        const QString namedFile = made.journal.isEmpty() ? made.bank : made.journal;
        QVERIFY2(shown[0].text.contains(QDir::toNativeSeparators(namedFile)), qPrintable(shown[0].text));
        QVERIFY2(shown[0].text.contains(reason), qPrintable(shown[0].text));

        QuestionStore& store = driver.window().store();
        QCOMPARE(store.isOpen(), !goesOn.isEmpty());
        if (!goesOn.isEmpty()) {
            QCOMPARE(store.isReadOnly(), goesOn == QLatin1String("browse"));
            QVERIFY(driver.clickNode(QStringLiteral("第一节")));
            QVERIFY(driver.showQuestion(3));
            QVERIFY(!driver.shownQuestion().isEmpty());
            QVERIFY(MessageBox::takeShown().isEmpty()); // told once
        } else {
            QCOMPARE(named<CatalogueTree>(&driver.window(), u"TreeView1"_s)->topLevelItemCount(), 0);
        }
    }
    QCOMPARE(BadBanks::contents(made.bank), bank);
    QCOMPARE(BadBanks::contents(made.journal), journal);
}

void tst_frmmain::closeAsksFirst_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("yes") << int(QMessageBox::Yes);
    QTest::newRow("no") << int(QMessageBox::No);
}

void tst_frmmain::closeAsksFirst()
{
    QFETCH(int, answer);
    const QString path = m_env->path() + QStringLiteral("/bank.db");
    {
        TestBank bank(path);
        bank.project(QStringLiteral("K"), QStringLiteral("证券"));
    }
    frmmain window(path);
    window.show();
    QVERIFY(window.store().isOpen());
    QVERIFY(MessageBox::takeShown().isEmpty());

    MessageBox::queueAnswer(MessageBox::Button(answer));
    const bool closed = window.close();

    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].icon, QMessageBox::Question);
    QCOMPARE(shown[0].title, QStringLiteral("操作提示"));
    QCOMPARE(shown[0].text, QStringLiteral("您是否真的要退出Vellumore？"));
    QCOMPARE(shown[0].buttons, QMessageBox::Yes | QMessageBox::No);
    const bool yes = answer == QMessageBox::Yes;
    QCOMPARE(closed, yes);
    QCOMPARE(window.isVisible(), !yes);
    QCOMPARE(window.store().isOpen(), !yes);
}

QTEST_MAIN(tst_frmmain)
#include "tst_frmmain.moc"
