#include "Fixtures.h"
#include "MainWindowDriver.h"
#include "Named.h"
#include "SearchBanks.h"
#include "TestEnvironment.h"
#include "WindowTest.h"

#include "controls/MessageBox.h"
#include "controls/XPButton.h"
#include "shell/ui/MainToolbar.h"

#include <QChart>
#include <QChartView>
#include <QDialog>
#include <QFile>
#include <QHeaderView>
#include <QProgressBar>
#include <QPushButton>
#include <QScatterSeries>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString Confirmation = u"统计分析可能会需要几分钟时间，您确定要运行该功能吗？"_s;

QStringList rowsOf(const QTreeWidget* list)
{
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QStringList cells;
        for (int c = 0; c < list->columnCount(); ++c)
            cells << list->topLevelItem(i)->text(c);
        rows << cells.join(u' ');
    }
    return rows;
}

QScatterSeries* seriesNamed(QDialog* dialog, const QString& name)
{
    for (QAbstractSeries* s : dialog->findChild<QChartView*>(u"chart"_s)->chart()->series())
        if (s->name() == name)
            return qobject_cast<QScatterSeries*>(s);
    return nullptr;
}

} // namespace

// The statistics window, opened from the toolbar of the real main window.
class tst_frmtj : public WindowTest
{
    Q_OBJECT

public:
    tst_frmtj()
        : WindowTest(SearchBanks::statisticsBank)
    { }

private slots:
    void cancelOpensNothing();
    void refusedDuringAnExam();
    void sectionsCountsAndTotals();
    void sortsByAnyColumnWithTheTotalsLast_data();
    void sortsByAnyColumnWithTheTotalsLast();
    void chartPlacesTheWorkedSections();
    void countsAgainOnEveryOpening();
    void weakSpotOpensItsSection();

private:
    // Clicks tj, answers the confirmation with OK and hands the window to @p work.
    bool openStatistics(const std::function<void(QDialog*)>& work);
    void clickTj();
};

void tst_frmtj::clickTj()
{
    QTest::mouseClick(named<MainToolbar>(&m_w->window(), u"Toolbar1"_s)->button(u"tj"_s), Qt::LeftButton);
}

bool tst_frmtj::openStatistics(const std::function<void(QDialog*)>& work)
{
    MessageBox::queueAnswer(QMessageBox::Ok);
    const bool opened = MainWindowDriver::runModal([this] { clickTj(); },
        [&work](QDialog* dialog) {
            QTRY_VERIFY(dialog->findChild<QProgressBar*>(u"jd"_s)->isHidden());
            work(dialog);
        });
    const QVector<MessageBox::Shown> shown = MessageBox::takeShown();
    if (shown.size() != 1 || shown.first().text != Confirmation)
        return false;
    return opened;
}

void tst_frmtj::cancelOpensNothing()
{
    MessageBox::queueAnswer(QMessageBox::Cancel);
    QVERIFY(!MainWindowDriver::runModal([this] { clickTj(); }, [](QDialog*) {}));
    const QVector<MessageBox::Shown> shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().text, Confirmation);
    QCOMPARE(shown.first().buttons, QMessageBox::Ok | QMessageBox::Cancel);
}

void tst_frmtj::refusedDuringAnExam()
{
    m_w->session().setExamRunning(true);
    MessageBox::queueAnswer(QMessageBox::Ok);
    QVERIFY(!MainWindowDriver::runModal([this] { clickTj(); }, [](QDialog*) {}));
    MainWindowDriver::checkOneBox(QMessageBox::Critical, u"操作提示"_s,
        u"注意：您必须单击右下方的[结束考试]按钮后才能进行其他操作！"_s);
}

void tst_frmtj::sectionsCountsAndTotals()
{
    QVERIFY(openStatistics([](QDialog* dialog) {
        QCOMPARE(dialog->windowTitle(), u"统计分析"_s);
        auto* list = dialog->findChild<QTreeWidget*>(u"ListView1"_s);
        QStringList headers;
        for (int c = 0; c < list->columnCount(); ++c)
            headers << list->headerItem()->text(c);
        QCOMPARE(headers,
            (QStringList { u"科目"_s, u"题量"_s, u"已做题数"_s, u"做对题数"_s, u"做错题数"_s, u"未做题数"_s,
                u"准确率"_s }));
        QCOMPARE(rowsOf(list),
            (QStringList { u"第一节 5 3 2 1 2 66.6%"_s, u"第二节 8 7 1 6 1 14.2%"_s, u"第三节 0 0 0 0 0 0%"_s,
                u"最后一节 1 1 1 0 0 100%"_s, u"合计 14 11 4 7 3 36.3%"_s }));
        QVERIFY(list->topLevelItem(4)->font(0).bold());
        auto* jd = dialog->findChild<QProgressBar*>(u"jd"_s);
        QCOMPARE(jd->maximum(), 5);
        QCOMPARE(jd->value(), 4);
        MainWindowDriver::click(dialog->findChild<XPButton*>(u"XPButton1"_s));
        QVERIFY(!dialog->isVisible());
    }));
    QVERIFY(MessageBox::takeShown().isEmpty());
}

void tst_frmtj::sortsByAnyColumnWithTheTotalsLast_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QString>("order");
    QTest::newRow("name") << 0 << 1 << u"最后一节 第一节 第三节 第二节"_s;
    QTest::newRow("name, descending") << 0 << 2 << u"第二节 第三节 第一节 最后一节"_s;
    QTest::newRow("questions: by number, not text") << 1 << 1 << u"第三节 最后一节 第一节 第二节"_s;
    QTest::newRow("questions, descending") << 1 << 2 << u"第二节 第一节 最后一节 第三节"_s;
    QTest::newRow("wrong") << 4 << 2 << u"第二节 第一节 第三节 最后一节"_s;
    QTest::newRow("open") << 5 << 1 << u"第三节 最后一节 第二节 第一节"_s;
    QTest::newRow("rate: 100% above 66.6%") << 6 << 2 << u"最后一节 第一节 第二节 第三节"_s;
}

void tst_frmtj::sortsByAnyColumnWithTheTotalsLast()
{
    QFETCH(int, column);
    QFETCH(int, clicks);
    QFETCH(QString, order);
    QVERIFY(openStatistics([&](QDialog* dialog) {
        auto* list = dialog->findChild<QTreeWidget*>(u"ListView1"_s);
        QHeaderView* header = list->header();
        const QPoint middle(
            header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
        for (int i = 0; i < clicks; ++i)
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, middle);
        QStringList names;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            names << list->topLevelItem(i)->text(0);
        QCOMPARE(names, (order.split(u' ') << u"合计"_s));
    }));
}

void tst_frmtj::chartPlacesTheWorkedSections()
{
    QVERIFY(openStatistics([](QDialog* dialog) {
        auto* list = dialog->findChild<QTreeWidget*>(u"ListView1"_s);
        auto* chart = dialog->findChild<QChartView*>(u"chart"_s);
        QVERIFY(chart && chart->isVisible());
        QVERIFY(chart->geometry().left() >= list->geometry().right());
        // Completion across, accuracy up; the section nobody worked has no point.
        QCOMPARE(seriesNamed(dialog, u"细目"_s)->points(),
            (QList<QPointF> { { 60.0, 66.6 }, { 87.5, 14.2 }, { 100.0, 100.0 } }));
        QCOMPARE(seriesNamed(dialog, u"全部"_s)->points(), (QList<QPointF> { { 100.0 * 11 / 14, 36.3 } }));
        QVERIFY(chart->chart()->title().contains(u"1个细目未做"_s));
        list->setCurrentItem(list->topLevelItem(1));
        QCOMPARE(seriesNamed(dialog, u"选中的细目"_s)->points(), (QList<QPointF> { { 87.5, 14.2 } }));
        list->setCurrentItem(list->topLevelItem(4));
        QVERIFY(seriesNamed(dialog, u"选中的细目"_s)->points().isEmpty());
    }));
}

void tst_frmtj::countsAgainOnEveryOpening()
{
    QVERIFY(openStatistics([](QDialog*) {}));
    QVERIFY(m_w->window().store().write(u"update tk set 答题='C' where 代码='K0101' and 题号=4"_s).isDone());
    QVERIFY(openStatistics([](QDialog* dialog) {
        auto* list = dialog->findChild<QTreeWidget*>(u"ListView1"_s);
        QCOMPARE(list->topLevelItem(0)->text(2), u"4"_s);
        QCOMPARE(list->topLevelItem(0)->text(6), u"50%"_s);
    }));
}

void tst_frmtj::weakSpotOpensItsSection()
{
    // A bank whose sections sit in the catalogue tree.
    m_w.reset();
    QVERIFY(QFile::remove(bankPath()));
    m_w = std::make_unique<MainWindowDriver>(bankPath(), Fixtures::answeredBank);
    QString chosen;
    QVERIFY(openStatistics([&chosen](QDialog* statistics) {
        QVERIFY(MainWindowDriver::runModal(
            [statistics] { MainWindowDriver::click(named<XPButton>(statistics, u"XPButton2"_s)); },
            [&chosen](QDialog* progress) {
                auto* tabs = named<QTabWidget>(progress, u"tabs"_s);
                QCOMPARE(tabs->tabText(5), u"薄弱环节"_s);
                tabs->setCurrentIndex(5);
                auto* table = named<QTableWidget>(progress, u"weakSpots"_s);
                QVERIFY(table->rowCount() > 0);
                chosen = table->item(0, 0)->text();
                auto* practise = qobject_cast<QPushButton*>(table->cellWidget(0, 6));
                QVERIFY(practise);
                QCOMPARE(practise->text(), u"练习"_s);
                practise->click();
                QVERIFY(!progress->isVisible());
            }));
        QVERIFY(!statistics->isVisible());
    }));
    // Both windows closed; the main window lists the section to practise.
    QVERIFY(!chosen.isEmpty());
    QCOMPARE(m_w->session().sectionCode().toLower(), chosen.section(u' ', 0, 0).toLower());
    QVERIFY(m_w->panel()->isVisible());
    QVERIFY(m_w->rowTexts().size() > 0);
}

QTEST_MAIN(tst_frmtj)
#include "tst_frmtj.moc"
