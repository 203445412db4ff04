#include "TestBank.h"
#include "TestEnvironment.h"

#include "catalogue/CatalogueTree.h"
#include "controls/MessageBox.h"
#include "data/BankLocation.h"
#include "shell/frmmain.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

class tst_frmmain : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void firstStartCopiesTheSampleBank();
    void unreadableBankIsReportedOnce_data();
    void unreadableBankIsReportedOnce();
    void closeAsksFirst_data();
    void closeAsksFirst();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

void tst_frmmain::init()
{
    m_env = std::make_unique<TestEnvironment>();
}

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
    CatalogueTree* tree = window.TreeView1();
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
    QCOMPARE(window.TreeView1()->topLevelItemCount(), 0);

    QVERIFY(in.open(QIODevice::ReadOnly));
    QCOMPARE(in.readAll(), before);
    QCOMPARE(QDir(QFileInfo(blocker).absolutePath()).entryList(QDir::Files).size(), 1); // nothing beside it
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
