#include "shell/HelpGuide.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_HelpGuide : public QObject
{
    Q_OBJECT

private slots:
    void foundInTheBuildTree();
    void installedProgramFindsItsGuide();
};

void tst_HelpGuide::foundInTheBuildTree()
{
    const QString guide = HelpGuide::path();
    QVERIFY2(!guide.isEmpty(), "the guide is copied beside the built program");
    QFile file(guide);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY(text.contains(u"lang=\"zh-CN\""_s));
    // The one thing a candidate cannot find out from the program itself: where the bank lives.
    QVERIFY(text.contains(u"~/.local/share/Vellumore/velm.db"_s));
    QVERIFY(QFileInfo::exists(QFileInfo(guide).dir().filePath(u"guide.css"_s)));
}

void tst_HelpGuide::installedProgramFindsItsGuide()
{
    QTemporaryDir destdir;
    QVERIFY(destdir.isValid());
    QProcess install;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"DESTDIR"_s, destdir.path());
    install.setProcessEnvironment(env);
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(QStringLiteral(VELLUMORE_CMAKE_COMMAND),
                  { u"--install"_s, QStringLiteral(VELLUMORE_BINARY_DIR), u"--prefix"_s, u"/usr"_s });
    QVERIFY(install.waitForFinished(120000));
    QVERIFY2(install.exitCode() == 0, install.readAll().constData());

    const QString bin = destdir.path() + u"/usr/bin"_s;
    QVERIFY(QFileInfo(bin + u"/vellumore"_s).isExecutable());
    // Looked for from the installed program's folder, the guide is the installed one.
    QCOMPARE(HelpGuide::locate(bin), destdir.path() + u"/usr/share/vellumore/help/index.html"_s);
    QVERIFY(QFileInfo::exists(destdir.path() + u"/usr/share/vellumore/help/guide.css"_s));
    QVERIFY(QFileInfo::exists(destdir.path() + u"/usr/share/vellumore/velm.db"_s));
}

QTEST_MAIN(tst_HelpGuide)
#include "tst_HelpGuide.moc"
