#include "TestBank.h"
#include "TestFolders.h"

#include "data/QuestionStore.h"
#include "progress/ProgressHistory.h"
#include "progress/ui/ProgressWindow.h"
#include "progress/ui/frmtj.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QDate Today(2026, 12, 10); // a Thursday

qint64 at(const QDate& day, int hour)
{
    return QDateTime(day, QTime(hour, 0)).toSecsSinceEpoch();
}

} // namespace

// Answers per day, accuracy per week and the exam scores, read from the history tables;
// the window shows each as a chart, or says what to do while there is nothing yet.
class tst_ProgressHistory : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void daysAndWeeks();
    void daysAcrossAClockChange();
    void examsInTheOrderTaken();
    void bankWithoutHistoryTables();
    void windowShowsChartsOrWhatToDo_data();
    void windowShowsChartsOrWhatToDo();
    void openedFromTheStatisticsWindow();

private:
    void answer(const QString& code, int number, qint64 when, bool right);
    void exam(qint64 when, int score, int fullScore);

    std::unique_ptr<TestFolders> m_folders;
    std::unique_ptr<TestBank> m_bank;
};

void tst_ProgressHistory::init()
{
    m_folders = std::make_unique<TestFolders>();
    m_bank = std::make_unique<TestBank>(m_folders->bankPath());
    m_bank->project(u"K"_s, u"证券基础"_s).subject(u"K01"_s, u"市场"_s).section(u"K0101"_s, u"第一节"_s);
    m_bank->question({ u"K0101"_s, 1, u"单选"_s })
        .question({ u"K0101"_s, 2, u"判断"_s })
        .question({ u"k0101"_s, 3, u"多选"_s });
}

void tst_ProgressHistory::answer(const QString& code, int number, qint64 when, bool right)
{
    QVERIFY(m_bank->store()
                .write(u"insert into attempt(代码, 题号, started_at, answered_at, seconds, answer, is_right, "
                       u"source, "
                       "clicks) values (?, ?, ?, ?, 0, 'A', ?, 'practice', 1)"_s,
                    { code, number, when, when, right ? 1 : 0 })
                .isDone());
}

void tst_ProgressHistory::exam(qint64 when, int score, int fullScore)
{
    QVERIFY(m_bank->store()
                .write(u"insert into exam_result(finished_at, score, full_score, questions, right_count, "
                       "wrong_count, unanswered_count) values (?, ?, ?, 10, 5, 3, 2)"_s,
                    { when, score, fullScore })
                .isDone());
}

void tst_ProgressHistory::daysAndWeeks()
{
    answer(u"K0101"_s, 1, at(Today, 9), true);
    answer(u"K0101"_s, 2, at(Today, 23), false);
    answer(u"K0101"_s, 3, at(Today.addDays(-1), 0), true); // the code in another Latin case
    answer(u"K0101"_s, 1, at(Today.addDays(-4), 12), false); // last week's Sunday
    answer(u"K0101"_s, 1, at(Today.addDays(-40), 12), true); // before the days shown
    answer(u"K9999"_s, 7, at(Today, 10), true); // a question no longer in the bank

    const ProgressHistory::Result result = ProgressHistory::compute(m_bank->store(), Today, 30);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.days.size(), 30);
    QCOMPARE(result.days.first().date, Today.addDays(-29));
    QCOMPARE(result.days.last().date, Today);
    QCOMPARE(result.days.last().tally.answers, 3);
    QCOMPARE(result.days.last().tally.right, 2);
    QCOMPARE(result.days[28].tally.answers, 1);
    QCOMPARE(result.days[25].tally.answers, 1);
    QCOMPARE(result.days[24].tally.answers, 0);

    // Weeks start on Monday; only weeks with answers are listed.
    QCOMPARE(result.weeks.size(), 3);
    const ProgressHistory::Week& thisWeek = result.weeks.last();
    QCOMPARE(thisWeek.monday, QDate(2026, 12, 7));
    QCOMPARE(thisWeek.tally.answers, 4);
    QCOMPARE(thisWeek.tally.right, 3);
    QCOMPARE(thisWeek.tally.accuracy(), 75.0);
    const auto type
        = [&](const QString& name) { return thisWeek.byType[size_t(*QuestionType::slotOf(name))]; };
    QCOMPARE(type(u"单选"_s).answers, 1);
    QCOMPARE(type(u"判断"_s).right, 0);
    QCOMPARE(type(u"多选"_s).right, 1);
    QCOMPARE(result.weeks[1].monday, QDate(2026, 11, 30));
    QCOMPARE(result.weeks[1].tally.accuracy(), 0.0);
}

void tst_ProgressHistory::daysAcrossAClockChange()
{
    // New York moves its clocks forward at 2:00 on 8 March 2026: midnight is 5:00 UTC before
    // and 4:00 UTC after.
    const QByteArray zone = qgetenv("TZ");
    qputenv("TZ", "America/New_York");
    if (QDateTime(QDate(2026, 3, 9), QTime(0, 0)).offsetFromUtc() != -4 * 3600) {
        qputenv("TZ", zone);
        QSKIP("the time zone database has no America/New_York");
    }
    const auto utc = [](int day, int hour, int second) {
        return QDateTime(QDate(2026, 3, day), QTime(hour, 0, 0), Qt::UTC).toSecsSinceEpoch() + second;
    };
    answer(u"K0101"_s, 1, utc(8, 5, -1), true); // 23:59:59 on the 7th
    answer(u"K0101"_s, 1, utc(8, 5, 0), true); // midnight of the 8th
    answer(u"K0101"_s, 1, utc(9, 4, -1), true); // 23:59:59 on the 8th, an hour later in UTC
    answer(u"K0101"_s, 1, utc(9, 4, 0), true); // midnight of the 9th
    const ProgressHistory::Result result = ProgressHistory::compute(m_bank->store(), QDate(2026, 3, 9), 3);
    qputenv("TZ", zone);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.days[0].tally.answers, 1);
    QCOMPARE(result.days[1].tally.answers, 2);
    QCOMPARE(result.days[2].tally.answers, 1);
}

void tst_ProgressHistory::examsInTheOrderTaken()
{
    exam(at(Today, 15), 80, 100);
    exam(at(Today.addDays(-7), 15), 45, 100);
    const ProgressHistory::Result result = ProgressHistory::compute(m_bank->store(), Today);
    QVERIFY(result.ok);
    QCOMPARE(result.exams.size(), 2);
    QCOMPARE(result.exams[0].score, 45);
    QCOMPARE(result.exams[1].score, 80);
    QVERIFY(!result.hasAnswers());
}

void tst_ProgressHistory::bankWithoutHistoryTables()
{
    for (const QString& table : { u"attempt"_s, u"exam_result"_s })
        QVERIFY(m_bank->store().write(u"drop table "_s + table).isDone());
    const ProgressHistory::Result result = ProgressHistory::compute(m_bank->store(), Today);
    QVERIFY2(result.ok, qPrintable(result.error));
    QVERIFY(!result.hasAnswers());
    QVERIFY(result.exams.isEmpty());
    QCOMPARE(result.days.size(), 30);
}

void tst_ProgressHistory::windowShowsChartsOrWhatToDo_data()
{
    QTest::addColumn<bool>("answers");
    QTest::addColumn<bool>("exams");
    QTest::newRow("nothing yet") << false << false;
    QTest::newRow("answers, no exam") << true << false;
    QTest::newRow("an exam, no practice answers") << false << true;
    QTest::newRow("both") << true << true;
}

void tst_ProgressHistory::windowShowsChartsOrWhatToDo()
{
    QFETCH(bool, answers);
    QFETCH(bool, exams);
    if (answers)
        answer(u"K0101"_s, 1, at(Today, 9), true);
    if (exams)
        exam(at(Today, 10), 60, 100);
    ProgressWindow window(m_bank->store(), nullptr, Today);
    window.show();
    QCOMPARE(window.emptyText(0), answers ? QString() : ProgressWindow::noAnswersText());
    QCOMPARE(window.emptyText(1), answers ? QString() : ProgressWindow::noAnswersText());
    QCOMPARE(window.emptyText(2), exams ? QString() : ProgressWindow::noExamsText());
}

void tst_ProgressHistory::openedFromTheStatisticsWindow()
{
    frmtj statistics(m_bank->store());
    statistics.show();
    bool opened = false;
    QTimer::singleShot(0, &statistics, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* progress = qobject_cast<ProgressWindow*>(w); progress && progress->isVisible()) {
                opened = progress->windowTitle() == u"学习进度"_s;
                progress->accept();
            }
        }
    });
    auto* button = statistics.findChild<QWidget*>(u"XPButton2"_s);
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(opened);
}

QTEST_MAIN(tst_ProgressHistory)
#include "tst_ProgressHistory.moc"
