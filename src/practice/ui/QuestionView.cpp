#include "practice/ui/QuestionView.h"

#include "controls/XPButton.h"
#include "practice/Answers.h"
#include "practice/QuestionRecord.h"
#include "practice/QuestionText.h"
#include "richtext/RichText.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QColor>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

const QString NoNotes = QStringLiteral("本题暂无注释或笔记");

XPButton* makeButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* b = new XPButton(name, caption, parent);
    b->setFixedSize(81, 24);
    return b;
}

// A row of buttons at the right end of a panel.
QHBoxLayout* buttonRow(std::initializer_list<QWidget*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QWidget* b : buttons)
        row->addWidget(b);
    return row;
}

QTextEdit* makeRichBox(QWidget* parent, const QString& name)
{
    auto* box = new QTextEdit(parent);
    box->setObjectName(name);
    box->setAcceptRichText(true);
    return box;
}

void loadDocument(QTextEdit* box, const QString& document)
{
    RtfReader::read(document.toUtf8(), box->document());
}

QString rtfOf(const QTextEdit* box)
{
    return QString::fromLatin1(RtfWriter::write(*box->document()));
}

} // namespace

QuestionView::QuestionView(QWidget* panel)
    : QObject(panel)
    , m_Text2(new QLineEdit(panel))
    , m_Picture5(new QFrame(panel))
    , m_Picture6(new QFrame(panel))
    , m_Frame10(new QGroupBox(QStringLiteral("注释与笔记"), panel))
    , m_Frame11(new QGroupBox(QStringLiteral("修改试题"), panel))
{
    m_Text2->setObjectName(QStringLiteral("Text2"));
    m_Text2->setReadOnly(true);
    m_Text2->setFrame(false);
    m_Text2->setGeometry(548, 5, 80, 18);
    m_Text2->setStyleSheet(QStringLiteral("color: #c00000; background: transparent; font-weight: bold;"));

    m_Picture5->setObjectName(QStringLiteral("Picture5"));
    m_Picture5->setFrameShape(QFrame::Panel);
    m_Picture5->setFrameShadow(QFrame::Sunken);
    m_Picture5->setGeometry(4, 200, 656, 325);
    m_Text1 = makeRichBox(m_Picture5, QStringLiteral("Text1"));
    m_Text1->setReadOnly(true);
    m_Text1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_Text1->setFrameShape(QFrame::NoFrame);
    m_Text1->setGeometry(0, 0, 439, 140);
    m_feedback = new QLabel(m_Picture5);
    m_feedback->setObjectName(QStringLiteral("feedback"));
    m_feedback->setWordWrap(true);
    m_feedback->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_feedback->setTextFormat(Qt::PlainText);
    m_feedback->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_feedback->hide();
    m_textxx = makeRichBox(m_Picture5, QStringLiteral("textxx"));
    m_textxx->setGeometry(59, 188, 441, 34);
    m_textxx->hide();

    m_Picture6->setObjectName(QStringLiteral("Picture6"));
    m_Picture6->setFrameShape(QFrame::Panel);
    m_Picture6->setFrameShadow(QFrame::Sunken);
    m_Picture6->setGeometry(368, 584, 198, 31);
    auto* label11 = new QLabel(QStringLiteral("您已选择："), m_Picture6);
    label11->setObjectName(QStringLiteral("Label11"));
    label11->setGeometry(6, 6, 70, 19);
    m_dalab = new QLabel(m_Picture6);
    m_dalab->setObjectName(QStringLiteral("dalab"));
    m_dalab->setGeometry(78, 6, 114, 19);
    m_dalab->setStyleSheet(QStringLiteral("color: #0000ff; font-weight: bold;"));

    m_Frame10->setObjectName(QStringLiteral("Frame10"));
    auto* notesLayout = new QVBoxLayout(m_Frame10);
    m_text3 = makeRichBox(m_Frame10, QStringLiteral("text3"));
    m_Command4 = makeButton(m_Frame10, QStringLiteral("Command4"), QStringLiteral("添加或修改"));
    m_Command5 = makeButton(m_Frame10, QStringLiteral("Command5"), QStringLiteral("隐藏"));
    notesLayout->addWidget(m_text3);
    notesLayout->addLayout(buttonRow({ m_Command4, m_Command5 }));
    m_Frame10->setAutoFillBackground(true);
    m_Frame10->hide();

    m_Frame11->setObjectName(QStringLiteral("Frame11"));
    auto* editLayout = new QFormLayout(m_Frame11);
    m_Text7 = new QLineEdit(m_Frame11);
    m_Text7->setObjectName(QStringLiteral("Text7"));
    m_text4 = makeRichBox(m_Frame11, QStringLiteral("text4"));
    m_Text5 = new QLineEdit(m_Frame11);
    m_Text5->setObjectName(QStringLiteral("Text5"));
    m_text6 = makeRichBox(m_Frame11, QStringLiteral("text6"));
    const struct
    {
        const char* name;
        const char16_t* caption;
        QWidget* box;
    } rows[] = { { "Label17", u"题目与题干", m_text4 }, { "Label16", u"答案", m_Text5 },
        { "Label18", u"题型", m_Text7 }, { "Label15", u"注释", m_text6 } };
    for (const auto& row : rows) {
        auto* label = new QLabel(QString::fromUtf16(row.caption), m_Frame11);
        label->setObjectName(QString::fromLatin1(row.name));
        editLayout->addRow(label, row.box);
    }
    m_Command6 = makeButton(m_Frame11, QStringLiteral("Command6"), QStringLiteral("修 改"));
    m_Command7 = makeButton(m_Frame11, QStringLiteral("Command7"), QStringLiteral("隐 藏"));
    editLayout->addRow(buttonRow({ m_Command6, m_Command7 }));
    m_Frame11->setAutoFillBackground(true);
    m_Frame11->hide();
    m_Frame10->installEventFilter(this);
    m_Frame11->installEventFilter(this);

    connect(m_Command4, &XPButton::Click, this, &QuestionView::saveNotesRequested);
    connect(m_Command5, &XPButton::Click, m_Frame10, &QWidget::hide);
    connect(m_Command6, &XPButton::Click, this, &QuestionView::saveEditsRequested);
    connect(m_Command7, &XPButton::Click, m_Frame11, &QWidget::hide);
}

void QuestionView::showFeedback(const QString& text, const QColor& colour)
{
    m_feedback->setText(text);
    m_feedback->setStyleSheet(
        QStringLiteral("QLabel { color: %1; background: #f6f8fb; border-top: 1px solid #c8d4e4; "
                       "padding: 4px; }")
            .arg(colour.name()));
    m_feedback->show();
    placeSidePanels();
}

void QuestionView::hideFeedback()
{
    if (m_feedback->isHidden())
        return;
    m_feedback->hide();
    placeSidePanels();
}

void QuestionView::openNotesPanel()
{
    m_Frame10->show();
    m_Frame10->raise();
}

void QuestionView::openEditPanel()
{
    m_Frame11->show();
    m_Frame11->raise();
}

QString QuestionView::notesDocument() const
{
    return rtfOf(m_text3);
}

QuestionEditor::Edits QuestionView::edits() const
{
    QuestionEditor::Edits edits;
    edits.document = rtfOf(m_text4);
    edits.plainText = RichText::plainText(*m_text4->document());
    edits.answer = m_Text5->text();
    edits.notes = rtfOf(m_text6);
    edits.type = m_Text7->text();
    return edits;
}

void QuestionView::clearQuestion()
{
    m_Text1->clear();
}

void QuestionView::setPosition(int index)
{
    m_Text2->setText(QStringLiteral("第%1题").arg(index));
}

void QuestionView::showRecord(const QuestionRecord& record)
{
    m_Text5->setText(record.answer);
    m_Text7->setText(record.type);
    loadDocument(m_text4, record.document);

    const QString notes = record.notes.toString();
    for (QTextEdit* box : { m_text3, m_text6 }) {
        if (notes.isEmpty())
            box->setPlainText(NoNotes);
        else
            loadDocument(box, notes);
    }

    renderQuestion(record.document);
    m_dalab->setText(Answers::storedCaption(record.given));
}

void QuestionView::renderQuestion(const QString& document)
{
    QuestionText::RenderQuestionText(m_Text1->document(), document.toUtf8());
}

void QuestionView::applyFontSize(int pointSize)
{
    QuestionText::setFontSize(m_Text1->document(), pointSize);
    QTextCursor cursor(m_Text1->document());
    cursor.movePosition(QTextCursor::Start);
    m_Text1->setTextCursor(cursor);
}

void QuestionView::showEntry(const QString& answer)
{
    m_dalab->setText(Answers::entryCaption(answer));
}

void QuestionView::placeSidePanels()
{
    // Over the right part of the question area; the question text wraps beside them.
    const QRect area = m_Picture5->geometry();
    const int width = qMax(220, area.width() * 9 / 20);
    const QRect side(area.right() - width + 1, area.top(), width, area.height());
    m_Frame10->setGeometry(side);
    m_Frame11->setGeometry(side);
    m_Frame10->raise();
    m_Frame11->raise();
    const bool open = m_Frame10->isVisibleTo(m_Frame10->parentWidget())
        || m_Frame11->isVisibleTo(m_Frame11->parentWidget());
    const QRect inner(QPoint(0, 0), m_Picture5->contentsRect().size());
    const int textWidth = open ? qMax(0, inner.width() - width - 4) : inner.width();
    // The feedback, when shown, takes the bottom of the question area.
    const int feedbackHeight = m_feedback->isHidden() ? 0 : qMin(90, inner.height() / 2);
    m_Text1->setGeometry(inner.left(), inner.top(), textWidth, inner.height() - feedbackHeight);
    m_feedback->setGeometry(inner.left(), inner.bottom() + 1 - feedbackHeight, textWidth, feedbackHeight);
}

bool QuestionView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide)
        placeSidePanels();
    return QObject::eventFilter(watched, event);
}

void QuestionView::showListNumber(const QString& text)
{
    m_Text2->setText(text);
}

void QuestionView::showNoStoredAnswer()
{
    m_dalab->setText(Answers::storedCaption(QString()));
}

void QuestionView::placeListNumber(const QRect& geometry)
{
    m_Picture6->raise();
    m_Text2->setGeometry(geometry);
    m_Text2->raise();
}

int QuestionView::fitQuestionArea(int width)
{
    // Sizes computed below zero leave a control as it was.
    auto setWidth = [](QWidget* w, int w2) {
        if (w2 >= 0)
            w->resize(w2, w->height());
    };
    setWidth(m_Picture5, width);
    const int areaWidth = m_Picture5->contentsRect().width();
    setWidth(m_Text1, areaWidth);
    setWidth(m_textxx, areaWidth);
    return areaWidth;
}

int QuestionView::answerRowWidth() const
{
    return m_Picture6->width() + 6 + m_Text2->width();
}
