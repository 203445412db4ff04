#pragma once

#include "search/QuestionSearch.h"

#include "catalogue/QuestionFilters.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class XPButton;
class StudySession;

/// frmcx (查询, search). The search dialog "试题查询": a keyword in the stem or option texts, the answered
/// questions or the wrong ones. On "确定" the session's search statement holds it; any other way
/// out leaves it empty.
class frmcx final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmcx)
public:
    explicit frmcx(StudySession& session, QWidget* parent = nullptr);

    /// The statement and its bound keyword once "确定" closed the dialog.
    QuestionFilters::Selection selection() const { return m_selection; }
    /// What was asked for on "确定".
    QuestionSearch::Request request() const { return m_request; }

    void done(int result) override;

private:
    void XPButton1_Click();

    StudySession& m_session;
    QRadioButton* m_Option[3];
    QGroupBox* m_Frame1;
    QLineEdit* m_Text1;
    QCheckBox* m_Check1;
    QCheckBox* m_Check2;
    XPButton* m_XPButton1;
    XPButton* m_XPButton2;
    QuestionFilters::Selection m_selection;
    QuestionSearch::Request m_request;
};
