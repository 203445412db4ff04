#pragma once

#include "practice/Answers.h"

#include <QFrame>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QRadioButton;

/// The answer area Picture9: the four answer panels, of which the current question's
/// type shows one. Presetting from a stored answer is display only; a user's entry
/// is announced by a signal with its encoded answer.
class AnswerPanel final : public QFrame
{
    Q_OBJECT
public:
    /// The width of the widest choice panel.
    int widestPanel() const;
    explicit AnswerPanel(QWidget* parent = nullptr);

    /// Shows the panel of @p type and presets it from the stored answer; a type
    /// without a panel (grouped or unknown) shows none.
    void preset(const QString& type, const QString& given);
    /// Disables the multiple- and single-choice panels (a new listing starts).
    void disableChoicePanels();

    /// Acts as a click on the @p index-th choice (0 for A, 对 or 会做) of the panel
    /// shown; false when that panel has no such choice or takes no entry now.
    bool chooseByIndex(int index);

signals:
    void multipleChoiceEntered(const QString& answer);
    void singleChoiceEntered(const QString& answer);
    void selfAssessmentEntered(const QString& answer);
    void trueFalseEntered(const QString& answer);

private:
    void showOnly(QGroupBox* panel);
    void clearOptions();

    QGroupBox* m_Frame2;
    QGroupBox* m_Frame4;
    QGroupBox* m_Frame8;
    QGroupBox* m_Frame9;
    QCheckBox* m_DAN_A[5];
    QRadioButton* m_Option1[5];
    QButtonGroup* m_optionGroup;
    QComboBox* m_C3;
    QRadioButton* m_Option2;
    QRadioButton* m_Option3;
};
