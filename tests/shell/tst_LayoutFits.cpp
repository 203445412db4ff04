#include "Fixtures.h"
#include "MainWindowDriver.h"
#include "Named.h"
#include "TestEnvironment.h"
#include "WindowTest.h"

#include "controls/ElidedLabel.h"
#include "controls/MessageBox.h"
#include "controls/XPButton.h"
#include "exam/ui/mlks.h"
#include "shell/ui/HelpWindow.h"
#include "shell/ui/MainToolbar.h"
#include "shell/ui/Splitter.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLCDNumber>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

// Every control a candidate sees must show its whole text and stand clear of the others,
// with the fonts this desktop has, on the screen sizes candidates use. Each run of this
// test gets one screen size; CTest runs it once per size.
class tst_LayoutFits : public WindowTest
{
    Q_OBJECT

public:
    tst_LayoutFits()
        : WindowTest(Fixtures::marketBank)
    { }

private slots:
    void initTestCase();
    void mainWindow_data();
    void mainWindow();
    void dialogs_data();
    void dialogs();
};

namespace {

QString nameOf(const QWidget* w)
{
    QString name = w->objectName();
    if (name.isEmpty())
        name = QString::fromLatin1(w->metaObject()->className());
    for (const QWidget* p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget()) {
        if (!p->objectName().isEmpty() && !p->objectName().startsWith(u"qt_"_s)) {
            name = p->objectName() + u'/' + name;
            break;
        }
    }
    return name;
}

// What the candidate reads on a control, for the messages.
QString textOf(const QWidget* w)
{
    if (const auto* l = qobject_cast<const QLabel*>(w))
        return l->text();
    if (const auto* b = qobject_cast<const QAbstractButton*>(w))
        return b->text();
    if (const auto* x = qobject_cast<const XPButton*>(w))
        return x->caption();
    if (const auto* e = qobject_cast<const QLineEdit*>(w))
        return e->text().isEmpty() ? e->placeholderText() : e->text();
    if (const auto* c = qobject_cast<const QComboBox*>(w))
        return c->currentIndex() < 0 ? c->placeholderText() : c->currentText();
    return {};
}

bool isControl(const QWidget* w)
{
    if (qobject_cast<const QScrollBar*>(w))
        return false;
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const XPButton*>(w)
        || qobject_cast<const QLabel*>(w) || qobject_cast<const QLineEdit*>(w)
        || qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractSpinBox*>(w)
        || qobject_cast<const QAbstractSlider*>(w) || qobject_cast<const QProgressBar*>(w)
        || qobject_cast<const QLCDNumber*>(w) || qobject_cast<const QAbstractScrollArea*>(w)
        || qobject_cast<const QTabBar*>(w);
}

struct Control
{
    QWidget* widget;
    QRect shown; ///< in the window's coordinates, clipped by every container
};

// The controls of @p window a candidate can see, without the parts of composite controls.
QVector<Control> visibleControls(QWidget* window, QStringList* problems)
{
    QVector<Control> controls;
    std::function<void(QWidget*, QRect)> walk = [&](QWidget* parent, QRect clip) {
        for (QObject* o : parent->children()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (!w || w->isWindow() || !w->isVisible() || w->width() <= 0 || w->height() <= 0)
                continue;
            const QRect whole(w->mapTo(window, QPoint(0, 0)), w->size());
            const QRect shown = whole & clip;
            if (shown.isEmpty())
                continue;
            if (isControl(w)) {
                // A container that cuts a control cuts its text or its frame.
                if (shown != whole && !qobject_cast<const QAbstractScrollArea*>(parent->parentWidget()))
                    *problems << u"%1 “%2” is cut by its container (%3 of %4 shown)"_s
                                     .arg(nameOf(w), textOf(w))
                                     .arg(u"%1×%2"_s.arg(shown.width()).arg(shown.height()))
                                     .arg(u"%1×%2"_s.arg(whole.width()).arg(whole.height()));
                controls << Control { w, shown };
                continue;
            }
            if (auto* box = qobject_cast<QGroupBox*>(w); box && !box->title().isEmpty()) {
                const int needed = box->fontMetrics().horizontalAdvance(box->title()) + 16;
                if (needed > box->width())
                    *problems << u"%1 title “%2” needs %3 px, has %4"_s.arg(nameOf(box), box->title())
                                     .arg(needed)
                                     .arg(box->width());
            }
            walk(w, shown);
        }
    };
    walk(window, window->rect());
    return controls;
}

// Why @p w does not show all of its text; empty when it does.
QString textProblem(QWidget* w)
{
    const QString text = textOf(w);
    const QFontMetrics fm = w->fontMetrics();
    QSize needed;
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (text.isEmpty() || label->pixmap().cacheKey() != 0)
            return {};
        needed = label->wordWrap() ? QSize(0, label->heightForWidth(label->width())) : label->sizeHint();
        if (label->wordWrap() && needed.height() < 0)
            needed = label->sizeHint();
        // A label that ends a long text with "…" shows that there is more: only its height counts.
        if (qobject_cast<ElidedLabel*>(label))
            needed.setWidth(0);
    } else if (qobject_cast<XPButton*>(w)) {
        needed = QSize(fm.horizontalAdvance(text) + 6, fm.height());
    } else if (auto* tool = qobject_cast<QToolButton*>(w)) {
        if (text.isEmpty())
            return {};
        const bool under = tool->toolButtonStyle() == Qt::ToolButtonTextUnderIcon;
        needed = QSize(qMax(fm.horizontalAdvance(text), tool->iconSize().width()),
            (under ? tool->iconSize().height() : 0) + fm.height());
    } else if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
        // The style's width for indicator, gap and caption; in height the taller of indicator
        // and text (the style's focus margins above and below may be cut).
        const bool check = qobject_cast<QCheckBox*>(w);
        const int indicator = w->style()->pixelMetric(
            check ? QStyle::PM_IndicatorHeight : QStyle::PM_ExclusiveIndicatorHeight, nullptr, w);
        needed = QSize(w->sizeHint().width(), qMax(indicator, fm.height()));
    } else if (qobject_cast<QAbstractButton*>(w)) {
        if (text.isEmpty())
            return {};
        needed = w->sizeHint();
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        // What a box shows by itself must fit; what the candidate types may scroll.
        const int frame = edit->hasFrame() ? 8 : 2;
        needed = QSize(edit->isReadOnly() && !text.isEmpty() ? fm.horizontalAdvance(text) + frame : 0,
            fm.height() + (edit->hasFrame() ? 4 : 0));
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        // Whichever item it shows, or the placeholder, beside the arrow.
        int widest = fm.horizontalAdvance(combo->placeholderText());
        for (int i = 0; i < combo->count(); ++i)
            widest = qMax(widest, fm.horizontalAdvance(combo->itemText(i)));
        const int arrow = 20;
        needed = QSize(widest + arrow + 8, combo->minimumSizeHint().height());
    } else if (qobject_cast<QAbstractSlider*>(w) || qobject_cast<QAbstractSpinBox*>(w)) {
        needed = QSize(0, w->minimumSizeHint().height());
    } else {
        return {};
    }
    if (needed.width() <= w->width() && needed.height() <= w->height())
        return {};
    return u"%1 “%2” needs %3×%4, has %5×%6"_s.arg(nameOf(w), text)
        .arg(needed.width())
        .arg(needed.height())
        .arg(w->width())
        .arg(w->height());
}

bool contains(const QWidget* ancestor, const QWidget* w)
{
    for (; w; w = w->parentWidget()) {
        if (w == ancestor)
            return true;
    }
    return false;
}

// Everything wrong with what @p window shows, each told on its own line.
QStringList problemsOf(QWidget* window)
{
    QStringList problems;
    const QVector<Control> controls = visibleControls(window, &problems);
    for (const Control& c : controls) {
        const QString p = textProblem(c.widget);
        if (!p.isEmpty())
            problems << p;
    }
    for (qsizetype i = 0; i < controls.size(); ++i) {
        for (qsizetype j = i + 1; j < controls.size(); ++j) {
            const Control& a = controls[i];
            const Control& b = controls[j];
            if (contains(a.widget, b.widget) || contains(b.widget, a.widget))
                continue;
            // A caption printed twice, a pixel apart, is one caption with its shadow.
            if (qobject_cast<QLabel*>(a.widget) && qobject_cast<QLabel*>(b.widget)
                && !textOf(a.widget).isEmpty() && textOf(a.widget) == textOf(b.widget))
                continue;
            const QRect both = a.shown & b.shown;
            if (!both.isEmpty())
                problems << u"%1 “%2” and %3 “%4” overlap by %5×%6"_s
                                .arg(nameOf(a.widget), textOf(a.widget), nameOf(b.widget), textOf(b.widget))
                                .arg(both.width())
                                .arg(both.height());
        }
    }
    const QRect screen = window->screen()->availableGeometry();
    if (!screen.contains(window->frameGeometry()))
        problems << u"the window (%1×%2) runs off the screen (%3×%4)"_s.arg(window->width())
                        .arg(window->height())
                        .arg(screen.width())
                        .arg(screen.height());
    for (const QString& p : problems)
        qInfo("%s", qPrintable(p));
    return problems;
}

} // namespace

void tst_LayoutFits::initTestCase()
{
    const QSize screen = QGuiApplication::primaryScreen()->size();
    qInfo("screen %dx%d", screen.width(), screen.height());
}

void tst_LayoutFits::mainWindow_data()
{
    QTest::addColumn<QString>("splitter"); // left end, middle, right end, where it starts
    // The list row shown: 3 单选, 4 多选; 0 for the welcome panel, -1 for an exam's first question.
    QTest::addColumn<int>("row");
    for (const char* where : { "left", "middle", "right", "design" }) {
        QTest::addRow("%s, welcome", where) << QString::fromLatin1(where) << 0;
        QTest::addRow("%s, single choice", where) << QString::fromLatin1(where) << 3;
        QTest::addRow("%s, multiple choice", where) << QString::fromLatin1(where) << 4;
        QTest::addRow("%s, an exam", where) << QString::fromLatin1(where) << -1;
    }
}

void tst_LayoutFits::mainWindow()
{
    QFETCH(QString, splitter);
    QFETCH(int, row);
    frmmain& window = m_w->window();
    window.showMaximized();
    QTRY_COMPARE(window.size(), window.screen()->availableGeometry().size());
    if (row > 0) {
        QVERIFY(m_w->clickNode(u"证券市场的产生与发展"_s));
        QVERIFY(m_w->clickRow(row));
    } else if (row < 0) {
        QVERIFY(MainWindowDriver::runModal(
            [&] {
                QTest::mouseClick(
                    named<MainToolbar>(&window, u"Toolbar1"_s)->button(u"mlkc"_s), Qt::LeftButton);
            },
            [](QDialog* d) { MainWindowDriver::click(named<XPButton>(d, u"XPButton1"_s)); }));
        QVERIFY(m_w->session().isExamRunning());
    }

    // Dragged as a user drags it, far past either end or to the middle.
    Splitter* bar = window.findChild<Splitter*>();
    QVERIFY(bar);
    if (splitter != u"design"_s) {
        const int to = splitter == u"left"_s ? -window.width()
            : splitter == u"right"_s         ? 2 * window.width()
                                             : window.width() / 2;
        const QPoint grip(1, bar->height() / 2);
        QTest::mousePress(bar, Qt::LeftButton, {}, grip);
        QTest::mouseMove(bar, QPoint(to - bar->x(), grip.y()));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(to - bar->x(), grip.y()));
        // After a drag to an end and back, the layout is whole again.
        if (splitter == u"middle"_s) {
            QTest::mousePress(bar, Qt::LeftButton, {}, grip);
            QTest::mouseMove(bar, QPoint(-window.width(), grip.y()));
            QTest::mouseMove(bar, QPoint(window.width() / 2 - bar->x(), grip.y()));
            QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(window.width() / 2 - bar->x(), grip.y()));
        }
    }
    const QStringList problems = problemsOf(&window);
    QVERIFY2(problems.isEmpty(), qPrintable(u"%1 problems, each told above"_s.arg(problems.size())));
}

void tst_LayoutFits::dialogs_data()
{
    QTest::addColumn<QString>("dialog");
    for (const char* name :
        { "mlks", "addst", "cjtj", "PaperExportDialog", "frmcx", "frmtj", "ProgressWindow", "HelpWindow" })
        QTest::newRow(name) << QString::fromLatin1(name);
}

void tst_LayoutFits::dialogs()
{
    QFETCH(QString, dialog);
    QVERIFY(m_w->clickNode(u"证券市场的产生与发展"_s));
    if (dialog == u"HelpWindow"_s) {
        HelpWindow* help = HelpWindow::showGuide(&m_w->window());
        QVERIFY(help);
        QVERIFY(QTest::qWaitForWindowExposed(help));
        const QStringList problems = problemsOf(help);
        QVERIFY2(problems.isEmpty(), qPrintable(u"%1 problems, each told above"_s.arg(problems.size())));
        return;
    }
    const std::function<void()> open = [&] {
        if (dialog == u"mlks"_s)
            QTest::mouseClick(
                named<MainToolbar>(&m_w->window(), u"Toolbar1"_s)->button(u"mlkc"_s), Qt::LeftButton);
        else if (dialog == u"frmtj"_s || dialog == u"ProgressWindow"_s) {
            MessageBox::queueAnswer(QMessageBox::Ok);
            QTest::mouseClick(
                named<MainToolbar>(&m_w->window(), u"Toolbar1"_s)->button(u"tj"_s), Qt::LeftButton);
        } else {
            const QString button = dialog == u"addst"_s ? u"cmd_5"_s
                : dialog == u"cjtj"_s                   ? u"cmd_2"_s
                : dialog == u"frmcx"_s                  ? u"cmd_6"_s
                                                        : u"cmd_3"_s;
            QVERIFY(m_w->click(button));
        }
    };
    QStringList problems;
    bool seen = false;
    const auto check = [&](QDialog* d) {
        seen = d->objectName() == dialog;
        QTest::qWait(50);
        problems = problemsOf(d);
        // Every page of a window of tabs.
        if (auto* tabs = d->findChild<QTabWidget*>(u"tabs"_s)) {
            for (int i = 1; i < tabs->count(); ++i) {
                tabs->setCurrentIndex(i);
                QTest::qWait(50);
                problems += problemsOf(d);
            }
        }
    };
    QVERIFY(MainWindowDriver::runModal(open, [&](QDialog* d) {
        // The progress window opens from the statistics window's "学习进度".
        if (dialog == u"ProgressWindow"_s)
            MainWindowDriver::runModal(
                [d] { MainWindowDriver::click(d->findChild<XPButton*>(u"XPButton2"_s)); }, check);
        else
            check(d);
    }));
    QVERIFY2(seen, qPrintable(dialog));
    QVERIFY2(problems.isEmpty(), qPrintable(u"%1 problems, each told above"_s.arg(problems.size())));
}

QTEST_MAIN(tst_LayoutFits)
#include "tst_LayoutFits.moc"
