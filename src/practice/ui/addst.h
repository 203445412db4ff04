#pragma once

#include <QDialog>

class QLineEdit;
class QRadioButton;
class QMenu;
class QTextEdit;
class QuestionStore;
class XPButton;
class StudySession;

/// addst (add 试题, add a question). "用户添加试题": the user writes a question of their own into the section
/// of the question shown last; it becomes a favourite as well.
class addst final : public QDialog
{
    Q_OBJECT
public:
    addst(QuestionStore& store, const StudySession& session, QWidget* parent = nullptr);

    /// Applies the menu1 item keyed @p key ("mcopy" … "md") to the selection of @p box.
    static void applyMenuItem(QTextEdit* box, const QString& key);

    /// Stores the question; closes the dialog when it was stored.
    void AddQuestion();
    /// Asks for a file and imports its questions; the dialog and what it holds stay as they are.
    void importQuestions();

signals:
    /// A question was added: its 题型, title extract, 答案, 题号 and 代码.
    void questionAdded(const QString& type, const QString& title, const QString& answer,
        const QString& number, const QString& code);

private:
    QuestionStore& m_store;
    const StudySession& m_session;
    QRadioButton* m_txopn[6];
    QLineEdit* m_txttx;
    QTextEdit* m_t1;
    QTextEdit* m_t2;
    QMenu* m_menu1;
    QLineEdit* m_DAtxt;
    XPButton* m_XPButton1;
    XPButton* m_XPButton2;
    XPButton* m_XPButton3;
};
