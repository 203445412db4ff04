#include "PracticeDriver.h"

#include "TestBank.h"

#include "catalogue/CatalogueTree.h"
#include "catalogue/QuestionFilters.h"
#include "catalogue/QuestionListView.h"
#include "practice/AnswerPanel.h"
#include "practice/PracticePanel.h"
#include "exam/WorkingSet.h"
#include "shell/frmmain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QTest>

PracticeDriver::PracticeDriver(const QString& bankPath)
    : m_window(std::make_unique<frmmain>(bankPath))
{
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        qWarning("the main window was not exposed");
}

PracticeDriver::~PracticeDriver() = default;

void PracticeDriver::addCatalogue(TestBank& bank, const QString& materialText)
{
    bank.project(QStringLiteral("J"), QStringLiteral("阅读材料"))
        .subject(QStringLiteral("J01"), QStringLiteral("法规原文"))
        .section(QStringLiteral("J0101"), QStringLiteral("证券法"))
        .project(QStringLiteral("K"), QStringLiteral("证券基础"))
        .subject(QStringLiteral("K01"), QStringLiteral("金融市场"))
        .section(QStringLiteral("K0101"), QStringLiteral("第一节"))
        .section(QStringLiteral("K0102"), QStringLiteral("第二节"))
        .section(QStringLiteral("K0103"), QStringLiteral("第三节"))
        .project(QStringLiteral("W"), QStringLiteral("个人"))
        .subject(QStringLiteral("W01"), QStringLiteral("个人题库"))
        .section(QStringLiteral("W0101"), QStringLiteral("个人收藏试题"))
        .section(QStringLiteral("W0102"), QStringLiteral("个人做错的题"))
        .section(QStringLiteral("W0103"), QStringLiteral("个人做过的题"));
    if (!materialText.isNull())
        bank.material(QStringLiteral("J0101"), materialText);
}

PracticePanel* PracticeDriver::panel() const
{
    return m_window->Picture1();
}

QuestionView* PracticeDriver::view() const
{
    return panel()->view();
}

AnswerPanel* PracticeDriver::answers() const
{
    return panel()->Picture9();
}

bool PracticeDriver::clickNode(const QString& text)
{
    CatalogueTree* tree = m_window->TreeView1();
    for (int i = 1; i <= tree->nodeCount(); ++i) {
        QTreeWidgetItem* item = tree->itemAt(i);
        if (item->text(0) != text)
            continue;
        tree->expandAll();
        tree->scrollToItem(item);
        const QRect rect = tree->visualItemRect(item);
        if (!rect.isValid())
            return false;
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, rect.center());
        return true;
    }
    return false;
}

bool PracticeDriver::clickRow(int row)
{
    QuestionListView* list = panel()->ListView1();
    if (row < 1 || row > list->rowCount())
        return false;
    const QModelIndex index = list->model()->index(row - 1, 0);
    list->scrollTo(index);
    const QRect rect = list->visualRect(index);
    if (!rect.isValid())
        return false;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    return true;
}

bool PracticeDriver::showQuestion(int number, const QString& code)
{
    const QStringList numbers = column(QuestionListModel::QuestionNo);
    const QStringList codes = column(QuestionListModel::Code);
    for (int i = 0; i < numbers.size(); ++i) {
        if (numbers[i] == QString::number(number) && codes[i] == code)
            return clickRow(i + 1);
    }
    return false;
}

void PracticeDriver::click(QAbstractButton* button)
{
    // The middle of the control's own size hint: on its caption, inside the click area.
    const QSize hint = button->sizeHint().boundedTo(button->size());
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(hint.width() / 2, button->height() / 2));
}

bool PracticeDriver::chooseItem(QComboBox* box, const QString& text)
{
    const int target = box->findText(text);
    if (target < 0)
        return false;
    // Choosing the item already shown: away and back, as a keyboard user would.
    if (box->currentIndex() == target)
        QTest::keyClick(box, target + 1 < box->count() ? Qt::Key_Down : Qt::Key_Up);
    while (box->currentIndex() < target)
        QTest::keyClick(box, Qt::Key_Down);
    while (box->currentIndex() > target)
        QTest::keyClick(box, Qt::Key_Up);
    return box->currentIndex() == target;
}

QStringList PracticeDriver::column(int column) const
{
    const QuestionListModel* model = panel()->ListView1()->questions();
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->subItem(row, column);
    return texts;
}

QVariant PracticeDriver::stored(const QString& table, int number, const QString& code) const
{
    return m_window->store().scalar(
        QStringLiteral("select 答题 from ") + table + QStringLiteral(" where 代码=? and 题号=?"),
        { code, number });
}

QStringList PracticeDriver::allStored(const QString& table) const
{
    QStringList values;
    RowSet rows = m_window->store().query(
        QStringLiteral("select 答题 from ") + table + QStringLiteral(" order by 代码, 题号"));
    for (; rows.isValid() && !rows.atEnd(); rows.next()) {
        const QVariant v = rows.field(QStringLiteral("答题"));
        values << (v.isNull() ? QStringLiteral("<null>") : v.toString());
    }
    return values;
}

QString PracticeDriver::answerPanelState() const
{
    const AnswerPanel* a = answers();
    auto flags = [](const QWidget* w) -> QString {
        return QString(QChar(w->isVisibleTo(w->parentWidget()) ? u'v' : u'-'))
            + QChar(w->isEnabled() ? u'e' : u'-');
    };
    QString state;
    for (const QGroupBox* frame : { a->Frame2(), a->Frame4(), a->Frame8(), a->Frame9() })
        state += frame->objectName() + u':' + flags(frame) + u' ';
    state += QStringLiteral("DAN_A:");
    for (int i = 0; i < 5; ++i)
        state += QChar(a->DAN_A(i)->isChecked() ? u'x' : u'.');
    state += QStringLiteral(" Option1:");
    for (int i = 0; i < 5; ++i)
        state += QChar(a->Option1(i)->isChecked() ? u'x' : u'.') + flags(a->Option1(i));
    state += QStringLiteral(" C3:") + a->C3()->currentText();
    state += QStringLiteral(" Option2:") + QChar(a->Option2()->isChecked() ? u'x' : u'.');
    state += QStringLiteral(" Option3:") + QChar(a->Option3()->isChecked() ? u'x' : u'.');
    return state;
}

bool PracticeDriver::startExamOnWholeBank()
{
    QuestionStore& store = m_window->store();
    if (!WorkingSet::copyFromBank(store).isDone())
        return false;
    m_window->state().ExamRunning = true;
    // A choice that is none of the exam range's items lists the whole paper, every type included.
    panel()->ResetQuestionList();
    panel()->listSelection(QuestionFilters::exam(QString(), QString()));
    return true;
}
