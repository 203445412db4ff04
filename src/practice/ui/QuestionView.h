#pragma once

#include "practice/QuestionEditor.h"

#include <QObject>

class QColor;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTextEdit;
class XPButton;
struct QuestionRecord;

/// The question's own controls on the practice panel: the position label Text2, the
/// question area Picture5 with Text1, the answer echo Picture6, and the notes and
/// edit panels Frame10 and Frame11. They are created on the panel that holds them.
class QuestionView final : public QObject
{
    Q_OBJECT
public:
    explicit QuestionView(QWidget* panel);

    /// Empties the question text.
    void clearQuestion();
    /// "第" + index + "题".
    void setPosition(int index);
    /// Fills the edit and notes panels, the question text and the stored answer's caption.
    void showRecord(const QuestionRecord& record);
    /// Draws the question document again (after a multiple-choice entry).
    void renderQuestion(const QString& document);
    /// The whole question text at @p pointSize, the insertion point at the start.
    void applyFontSize(int pointSize);
    /// Echoes a new entry in dalab.
    void showEntry(const QString& answer);

    /// Places the notes and edit panels over the right part of the question area.
    void placeSidePanels();
    /// The list number beside the answer panel (Text2): "第3题", or a section path.
    void showListNumber(const QString& text);
    /// The stored answer's caption (dalab) with no answer.
    void showNoStoredAnswer();
    /// Places Text2 at @p geometry above the panel's other controls.
    void placeListNumber(const QRect& geometry);
    /// The question area (Picture5) @p width wide, the texts inside filling it; returns the
    /// inner width.
    int fitQuestionArea(int width);
    /// The width the answer row needs beside a choice panel: the echo and the number.
    int answerRowWidth() const;

    /// Shows @p text under the question (the feedback on an answer), in @p colour.
    void showFeedback(const QString& text, const QColor& colour);
    void hideFeedback();

    void openNotesPanel();
    void openEditPanel();
    /// The notes being written, as RTF.
    QString notesDocument() const;
    /// The corrections being written in the edit panel.
    QuestionEditor::Edits edits() const;

signals:
    void saveNotesRequested();
    void saveEditsRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_Text2;
    QFrame* m_Picture5;
    QTextEdit* m_Text1;
    QTextEdit* m_textxx;
    QFrame* m_Picture6;
    QLabel* m_dalab;
    QLabel* m_feedback;
    QGroupBox* m_Frame10;
    QTextEdit* m_text3;
    QGroupBox* m_Frame11;
    QLineEdit* m_Text7;
    QTextEdit* m_text4;
    QLineEdit* m_Text5;
    QTextEdit* m_text6;
    XPButton* m_Command4;
    XPButton* m_Command5;
    XPButton* m_Command6;
    XPButton* m_Command7;
};
