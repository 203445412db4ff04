#include "practice/ui/addst.h"

#include "controls/FileDialog.h"
#include "controls/MessageBox.h"
#include "controls/XPButton.h"
#include "data/QuestionType.h"
#include "data/ui/BankMessages.h"
#include "practice/QuestionEditor.h"
#include "practice/QuestionImport.h"
#include "richtext/RichText.h"
#include "richtext/RtfWriter.h"
#include "session/StudySession.h"

#include <QAction>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

namespace {

QLabel* makeLabel(QWidget* parent, int index, const QString& caption)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QStringLiteral("Label1_%1").arg(index));
    return label;
}

QTextEdit* makeBox(QWidget* parent, const QString& name)
{
    auto* box = new QTextEdit(parent);
    box->setObjectName(name);
    box->setAcceptRichText(true);
    return box;
}

} // namespace

addst::addst(QuestionStore& store, const StudySession& session, QWidget* parent)
    : QDialog(parent)
    , m_store(store)
    , m_session(session)
    , m_txttx(new QLineEdit(QStringLiteral("A1"), this))
    , m_t1(makeBox(this, QStringLiteral("t1")))
    , m_t2(makeBox(this, QStringLiteral("t2")))
    , m_menu1(new QMenu(this))
    , m_DAtxt(new QLineEdit(this))
    , m_XPButton1(new XPButton(QStringLiteral("XPButton1"), QStringLiteral("添加"), this))
    , m_XPButton2(new XPButton(QStringLiteral("XPButton2"), QStringLiteral("取消"), this))
    , m_XPButton3(new XPButton(QStringLiteral("XPButton3"), QStringLiteral("导入…"), this))
{
    setObjectName(QStringLiteral("addst"));
    setWindowTitle(QStringLiteral("用户添加试题"));
    setModal(true);
    resize(560, 520);

    auto* types = new QHBoxLayout;
    types->addWidget(makeLabel(this, 0, QStringLiteral("题型：")));
    // One option per type slot, in slot order.
    const auto captions = QuestionType::slotNames();
    for (int i = 0; i < QuestionType::SlotCount; ++i) {
        m_txopn[i] = new QRadioButton(captions[size_t(i)], this);
        m_txopn[i]->setObjectName(QStringLiteral("txopn_%1").arg(i));
        connect(m_txopn[i], &QRadioButton::clicked, this,
            [this, caption = captions[size_t(i)]] { m_txttx->setText(caption); });
    }
    m_txopn[2]->hide();
    m_txopn[3]->hide();
    for (int i : { 0, 5, 4, 1 })
        types->addWidget(m_txopn[i]);
    types->addStretch();
    m_txttx->setObjectName(QStringLiteral("txttx"));
    m_txttx->hide();

    m_DAtxt->setObjectName(QStringLiteral("DAtxt"));
    connect(m_DAtxt, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString upper = text.toUpper();
        if (upper != text) {
            m_DAtxt->setText(upper);
            m_DAtxt->setCursorPosition(int(upper.size()));
        }
    });

    m_XPButton1->setFixedSize(81, 24);
    m_XPButton2->setFixedSize(81, 24);
    connect(m_XPButton1, &XPButton::Click, this, &addst::AddQuestion);
    connect(m_XPButton2, &XPButton::Click, this, &QDialog::reject);
    m_XPButton3->setFixedSize(81, 24);
    connect(m_XPButton3, &XPButton::Click, this, &addst::importQuestions);

    auto* grid = new QGridLayout(this);
    grid->addLayout(types, 0, 0, 1, 2);
    grid->addWidget(makeLabel(this, 1, QStringLiteral("题干与选项：")), 1, 0, Qt::AlignTop);
    m_menu1->setObjectName(QStringLiteral("menu1"));
    const struct
    {
        const char* key;
        const char16_t* caption;
    } items[] = { { "mcopy", u"复制" }, { "mcut", u"剪切" }, { "mpast", u"粘贴" }, { "ms", u"设置上标" },
        { "ma", u"设置下标" }, { "md", u"取消上下标" } };
    for (const auto& item : items) {
        QAction* action = m_menu1->addAction(QString::fromUtf16(item.caption));
        action->setObjectName(QString::fromLatin1(item.key));
        action->setData(QString::fromLatin1(item.key));
    }
    // The menu acts on the box it was opened from.
    for (QTextEdit* box : { m_t1, m_t2 }) {
        box->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(box, &QWidget::customContextMenuRequested, this, [this, box](const QPoint& at) {
            if (QAction* chosen = m_menu1->exec(box->mapToGlobal(at)))
                applyMenuItem(box, chosen->data().toString());
        });
    }
    grid->addWidget(m_t1, 1, 1);
    grid->addWidget(makeLabel(this, 3, QStringLiteral("标准答案：")), 2, 0);
    grid->addWidget(m_DAtxt, 2, 1);
    grid->addWidget(makeLabel(this, 2, QStringLiteral("注释与笔记：")), 3, 0, Qt::AlignTop);
    grid->addWidget(m_t2, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_XPButton3);
    buttons->addStretch();
    buttons->addWidget(m_XPButton1);
    buttons->addWidget(m_XPButton2);
    grid->addLayout(buttons, 4, 0, 1, 2);
    grid->setRowStretch(1, 3);
    grid->setRowStretch(3, 2);
}

void addst::applyMenuItem(QTextEdit* box, const QString& key)
{
    if (key == QLatin1String("mcopy")) {
        box->copy();
        return;
    }
    if (key == QLatin1String("mcut")) {
        box->cut();
        return;
    }
    if (key == QLatin1String("mpast")) {
        box->paste();
        return;
    }
    QTextCharFormat format;
    if (key == QLatin1String("ms")) {
        format.setFontPointSize(8);
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    } else if (key == QLatin1String("ma")) {
        format.setFontPointSize(8);
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    } else if (key == QLatin1String("md")) {
        format.setFontPointSize(12);
        format.setVerticalAlignment(QTextCharFormat::AlignNormal);
    } else {
        return;
    }
    QTextCursor cursor = box->textCursor();
    cursor.mergeCharFormat(format);
    cursor.clearSelection();
    box->setTextCursor(cursor);
}

void addst::AddQuestion()
{
    QuestionEditor::Edits question;
    question.document = QString::fromLatin1(RtfWriter::write(*m_t1->document()));
    question.plainText = RichText::plainText(*m_t1->document());
    question.answer = m_DAtxt->text();
    question.notes = QString::fromLatin1(RtfWriter::write(*m_t2->document()));
    question.type = m_txttx->text();
    int number = 0;
    const WriteResult result
        = QuestionEditor::AddQuestion(m_store, m_session.sectionCode(), question, &number);
    if (result.isNothing()) {
        MessageBox::warning(this, QStringLiteral("无法添加试题"), result.ownReason() + QStringLiteral("。"));
        return;
    }
    if (result.isFailed()) {
        // The dialog stays open with what was typed.
        MessageBox::critical(
            this, QStringLiteral("添加失败"), BankMessages::notStored(QStringLiteral("您的试题"), result));
        return;
    }
    // One literal, so that the message can be found as the user reads it.
    // clang-format off
    static const QString Added = QStringLiteral("您的试题已添加成功，并同时添加到您目前所在章节和个人收藏夹两个地方，点击主窗口左侧的树目录以刷新修改记录！");
    // clang-format on
    MessageBox::notice(this, Added);
    emit questionAdded(question.type, QuestionEditor::extract(question.plainText), question.answer,
        QString::number(number), m_session.sectionCode());
    accept();
}

void addst::importQuestions()
{
    const QString path = FileDialog::openFile(
        this, QStringLiteral("导入试题"), QStringLiteral("试题表格 (*.csv *.tsv *.txt);;所有文件 (*)"));
    if (path.isEmpty())
        return;
    const QuestionImport::Outcome outcome = QuestionImport::importFile(m_store, path);
    const QString text = outcome.message(QFileInfo(path).fileName(), BankMessages::reason(outcome.failure));
    switch (outcome.status) {
    case QuestionImport::Outcome::Status::Imported:
        MessageBox::information(this, QStringLiteral("导入完成"), text);
        break;
    case QuestionImport::Outcome::Status::Refused:
        MessageBox::warning(this, QStringLiteral("无法导入"), text);
        break;
    case QuestionImport::Outcome::Status::Failed:
        MessageBox::critical(this, QStringLiteral("导入失败"), text);
        break;
    }
}
