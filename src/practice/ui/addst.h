#pragma once

#include <QDialog>

class QLineEdit;
class QRadioButton;
class QMenu;
class QTextEdit;
class QuestionStore;
class XPButton;
class StudySession;

/// "用户添加试题": the user writes a question of their own into the section of the
/// question shown last; it becomes a favourite as well.
class addst final : public QDialog
{
    Q_OBJECT
public:
    addst(QuestionStore& store, const StudySession& session, QWidget* parent = nullptr);

    QRadioButton* txopn(int index) const { return m_txopn[index]; }
    QLineEdit* txttx() const { return m_txttx; }
    QTextEdit* t1() const { return m_t1; }
    QTextEdit* t2() const { return m_t2; }
    /// The editing menu of t1 and t2: copy, cut, paste, superscript, subscript, plain.
    QMenu* menu1() const { return m_menu1; }
    /// Applies the menu1 item keyed @p key ("mcopy" … "md") to the selection of @p box.
    static void applyMenuItem(QTextEdit* box, const QString& key);
    QLineEdit* DAtxt() const { return m_DAtxt; }
    XPButton* XPButton1() const { return m_XPButton1; }
    XPButton* XPButton2() const { return m_XPButton2; }
    /// "导入…": adds the questions of a CSV or tab-separated file to the bank.
    XPButton* XPButton3() const { return m_XPButton3; }

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
