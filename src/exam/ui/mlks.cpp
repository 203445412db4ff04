#include "exam/ui/mlks.h"

#include "controls/MessageBox.h"
#include "controls/XPButton.h"
#include "data/CatalogueRepository.h"
#include "data/Settings.h"
#include "data/ui/BankMessages.h"
#include "exam/ExamSession.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QVBoxLayout>

namespace {

const QString Title = QStringLiteral("模拟考试设置");

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& caption)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

QLineEdit* makeBox(QWidget* parent, const QString& name, const QString& accessibleName)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setAccessibleName(accessibleName);
    box->setAlignment(Qt::AlignRight);
    box->setMaximumWidth(80);
    return box;
}

} // namespace

mlks::mlks(ExamSession& exam, const QString& bankPath, QWidget* parent)
    : QDialog(parent)
    , m_exam(exam)
    , m_List1(new QListWidget(this))
    , m_sj(makeBox(this, QStringLiteral("sj"), QStringLiteral("考试时间（分钟）")))
    , m_unseenFirst(new QCheckBox(QStringLiteral("优先抽取没做过的题"), this))
    , m_Bar1(new QProgressBar(this))
    , m_XPButton1(new XPButton(QStringLiteral("XPButton1"), QStringLiteral("开始考试"), this))
    , m_XPButton2(new XPButton(QStringLiteral("XPButton2"), QStringLiteral("取消考试"), this))
{
    setObjectName(QStringLiteral("mlks"));
    setWindowTitle(Title);
    setModal(true);

    auto* frame1 = new QGroupBox(QStringLiteral("试题范围"), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    m_List1->setObjectName(QStringLiteral("List1"));
    m_List1->setAccessibleName(QStringLiteral("试题范围"));
    m_List1->setSelectionMode(QAbstractItemView::MultiSelection);
    m_List1->setMinimumSize(260, 220);
    const QString captions[2] = { QStringLiteral("全选"), QStringLiteral("全不选") };
    auto* listButtons = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        m_XPButton3[i] = new XPButton(QStringLiteral("XPButton3_%1").arg(i), captions[i], frame1);
        m_XPButton3[i]->setFixedSize(81, 24);
        connect(m_XPButton3[i], &XPButton::Click, this, [this, i] { selectAll(i == 0); });
        listButtons->addWidget(m_XPButton3[i]);
    }
    listButtons->addStretch();
    auto* frame1Layout = new QVBoxLayout(frame1);
    frame1Layout->addWidget(m_List1);
    frame1Layout->addLayout(listButtons);

    auto* frame2 = new QGroupBox(QStringLiteral("试题配分表"), this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    auto* table = new QGridLayout(frame2);
    const QString heads[3] = { QStringLiteral("题型"), QStringLiteral("题数"), QStringLiteral("每小题配分") };
    for (int i = 0; i < 3; ++i)
        table->addWidget(makeLabel(frame2, QStringLiteral("Label3_%1").arg(i), heads[i]), 0, i);
    // Rows top to bottom: 单选, 多选, 判断, 不定项, then 简答 and 综合, which stay hidden.
    const int rowOrder[QuestionType::SlotCount] = { 0, 5, 4, 1, 2, 3 };
    for (int row = 0; row < QuestionType::SlotCount; ++row) {
        const int slot = rowOrder[row];
        const QString type = QuestionType::slotName(slot);
        QLabel* label = makeLabel(frame2, QStringLiteral("Label3_%1").arg(slot + 3), type);
        m_ts[slot] = makeBox(frame2, QStringLiteral("ts_%1").arg(slot), type + QStringLiteral("题数"));
        m_df[slot] = makeBox(frame2, QStringLiteral("df_%1").arg(slot), type + QStringLiteral("每小题配分"));
        table->addWidget(label, row + 1, 0);
        table->addWidget(m_ts[slot], row + 1, 1);
        table->addWidget(m_df[slot], row + 1, 2);
        if (!ExamSettings::hasPoints(slot)) {
            label->hide();
            m_ts[slot]->hide();
            m_df[slot]->hide();
            m_df[slot]->setEnabled(false);
        }
        // An emptied count reads 0 at once.
        connect(m_ts[slot], &QLineEdit::textChanged, this, [box = m_ts[slot]](const QString& text) {
            if (text.isEmpty())
                box->setText(QStringLiteral("0"));
        });
    }
    table->addWidget(makeLabel(frame2, QStringLiteral("Label1"), QStringLiteral("考试时间")), 7, 0);
    table->addWidget(m_sj, 7, 1);
    table->addWidget(makeLabel(frame2, QStringLiteral("Label2"), QStringLiteral("分钟")), 7, 2);
    table->setRowStretch(8, 1);

    QLabel* label5 = makeLabel(this, QStringLiteral("Label5"),
        QStringLiteral("您可以选择模拟试卷生成试题的范围，修改试题配分表中的题数和分值，也可修改考试时间。"));
    label5->setWordWrap(true);

    m_unseenFirst->setObjectName(QStringLiteral("unseenFirst"));
    m_Bar1->setObjectName(QStringLiteral("Bar1"));
    m_Bar1->setTextVisible(false);
    m_Bar1->hide();
    m_XPButton1->setFixedSize(96, 26);
    m_XPButton2->setFixedSize(96, 26);
    connect(m_XPButton1, &XPButton::Click, this, &mlks::StartExam);
    connect(m_XPButton2, &XPButton::Click, this, &QDialog::reject);

    auto* frames = new QHBoxLayout;
    frames->addWidget(frame1, 1);
    frames->addWidget(frame2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_unseenFirst);
    buttons->addWidget(m_Bar1, 1);
    buttons->addStretch();
    buttons->addWidget(m_XPButton1);
    buttons->addWidget(m_XPButton2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(frames);
    layout->addWidget(label5);
    layout->addLayout(buttons);

    // Without a mouse: the range, its two buttons, the table row by row, the time, the buttons,
    // then the option, which came after them and leaves their order as candidates know it.
    QWidget* order[] = { m_List1, m_XPButton3[0], m_XPButton3[1], m_ts[0], m_df[0], m_ts[5], m_df[5], m_ts[4],
        m_df[4], m_ts[1], m_df[1], m_sj, m_XPButton1, m_XPButton2, m_unseenFirst };
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    // Load: the settings, the second connection, the range.
    const ExamSettings s = ExamSettings::load();
    for (int slot = 0; slot < QuestionType::SlotCount; ++slot) {
        m_ts[slot]->setText(s.counts[size_t(slot)]);
        m_df[slot]->setText(s.points[size_t(slot)]);
    }
    m_sj->setText(s.time);
    m_unseenFirst->setChecked(Settings::unseenFirst());
    if (m_db.open(bankPath, QuestionStore::Mode::ReadOnly)) {
        fillSections();
    } else {
        // Without the range the paper could not follow the user's choice.
        m_XPButton1->setEnabled(false);
        MessageBox::critical(this, Title,
            QStringLiteral("无法读取题库中的试题范围：%1。\n\n现在不能开始模拟考试。")
                .arg(BankMessages::reason(m_db.failure())));
    }
    m_List1->setFocus();
}

mlks::~mlks()
{
    m_db.close();
}

void mlks::fillSections()
{
    for (const QString& name : CatalogueRepository::sectionNamesWithQuestions(m_db)) {
        auto* item = new QListWidgetItem(name, m_List1);
        item->setSelected(true);
    }
    if (m_List1->count() > 0)
        m_List1->setCurrentRow(0, QItemSelectionModel::NoUpdate);
}

void mlks::selectAll(bool selected)
{
    for (int i = 0; i < m_List1->count(); ++i)
        m_List1->item(i)->setSelected(selected);
}

ExamSettings mlks::settings() const
{
    ExamSettings s;
    for (int slot = 0; slot < QuestionType::SlotCount; ++slot) {
        s.counts[size_t(slot)] = m_ts[slot]->text();
        s.points[size_t(slot)] = m_df[slot]->text();
    }
    s.time = m_sj->text();
    return s;
}

QString mlks::examTime() const
{
    return m_sj->text().trimmed();
}

void mlks::showProgress(int maximum, int value)
{
    m_Bar1->setMaximum(maximum);
    m_Bar1->setValue(value);
}

void mlks::StartExam()
{
    if (!m_XPButton1->isEnabled())
        return;
    const ExamSettings s = settings();
    if (const auto refusal = s.check()) {
        MessageBox::warning(this, Title, refusal->message);
        if (auto* box = findChild<QLineEdit*>(refusal->box)) {
            box->setFocus();
            box->selectAll();
        }
        return;
    }
    ExamPaperRequest request;
    for (int i = 0; i < m_List1->count(); ++i) {
        if (!m_List1->item(i)->isSelected())
            request.deselectedSections << m_List1->item(i)->text();
    }
    request.counts = s.counts;
    request.unseenFirst = m_unseenFirst->isChecked();
    // The paper's forecast reads the points from the settings file.
    saveSettings();
    m_Bar1->show();
    const WriteResult started
        = m_exam.startPaper(request, [this](int maximum, int value) { showProgress(maximum, value); });
    if (!started.isDone()) {
        m_settingsSaved = false; // what the candidate corrects next is saved on closing
        MessageBox::critical(this, Title,
            QStringLiteral("模拟试卷没有生成，考试没有开始。\n\n原因：%1。")
                .arg(BankMessages::reason(started)));
        return;
    }
    accept();
}

void mlks::done(int result)
{
    // Whatever closes the dialog saves the table, once.
    if (!m_saved) {
        m_saved = true;
        if (!m_settingsSaved)
            saveSettings();
        m_db.close();
    }
    QDialog::done(result);
}

void mlks::saveSettings()
{
    m_settingsSaved = true;
    const bool saved = settings().save();
    if (!(saveUnseenFirst() && saved))
        MessageBox::warning(this, Title,
            QStringLiteral("考试设置没有保存到设置文件“%1”，下次打开时将显示原来的设置。")
                .arg(QDir::toNativeSeparators(Settings::path())));
}

bool mlks::saveUnseenFirst() const
{
    // Unchanged, the file is left as it was: it gains the key only once the candidate chooses.
    const bool on = m_unseenFirst->isChecked();
    return on == Settings::unseenFirst() || Settings::setUnseenFirst(on);
}

void mlks::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        StartExam();
        return;
    }
    QDialog::keyPressEvent(event);
}
