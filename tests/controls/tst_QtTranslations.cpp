#include "controls/MessageBox.h"
#include "controls/QtTranslations.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

// Qt's own words speak Chinese once the program has installed the translations.
class tst_QtTranslations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void messageBoxButtons_data();
    void messageBoxButtons();
    void textBoxMenu();
};

void tst_QtTranslations::initTestCase()
{
    QVERIFY2(QtTranslations::install(*qApp), "the distribution's translations of Qt are not installed");
    MessageBox::enableTestMode(true);
}

void tst_QtTranslations::cleanup()
{
    MessageBox::reset();
}

void tst_QtTranslations::messageBoxButtons_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("OK") << int(QMessageBox::Ok) << QStringList { u"确定"_s };
    QTest::newRow("Yes, No") << int(QMessageBox::Yes | QMessageBox::No) << QStringList { u"是"_s, u"否"_s };
    QTest::newRow("OK, Cancel") << int(QMessageBox::Ok | QMessageBox::Cancel)
                                << QStringList { u"确定"_s, u"取消"_s };
}

void tst_QtTranslations::messageBoxButtons()
{
    QFETCH(int, buttons);
    QFETCH(QStringList, texts);
    MessageBox::show(nullptr, QMessageBox::Question, u"题目"_s, u"内容"_s, MessageBox::Buttons(buttons));
    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QStringList plain;
    // A mnemonic ("是(&Y)") is not part of what the candidate reads.
    for (QString text : shown[0].buttonTexts)
        plain << text.remove(u'&').remove(QRegularExpression(u"\\([A-Z]\\)$"_s));
    plain.sort();
    texts.sort();
    QCOMPARE(plain, texts);
}

void tst_QtTranslations::textBoxMenu()
{
    QLineEdit box(u"文字"_s);
    const std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
    QStringList items;
    for (const QAction* a : menu->actions()) {
        if (!a->isSeparator())
            items << a->text().remove(u'&');
    }
    QVERIFY2(items.filter(u"复制"_s).size() == 1, qPrintable(items.join(u", "_s)));
    QVERIFY2(items.filter(u"粘贴"_s).size() == 1, qPrintable(items.join(u", "_s)));
}

QTEST_MAIN(tst_QtTranslations)
#include "tst_QtTranslations.moc"
