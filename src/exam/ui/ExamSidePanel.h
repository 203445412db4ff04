#pragma once

#include <QGroupBox>

class DigitDisplay;
class QComboBox;
class QLabel;
class QTimer;
class XPButton;

/// The exam side panel Frame6: the exam time and the minutes used, the range of the
/// exam list, a wall clock, the answer columns and the end of the exam. It takes the
/// place of the practice side panel while an exam runs.
class ExamSidePanel final : public QGroupBox
{
    Q_OBJECT
public:
    explicit ExamSidePanel(QWidget* parent = nullptr);

    DigitDisplay* kssj() const { return m_kssj; }
    DigitDisplay* yysj() const { return m_yysj; }
    QComboBox* Combo2() const { return m_Combo2; }
    QLabel* Label7() const { return m_Label7; }
    XPButton* XPButton3() const { return m_XPButton3; }
    XPButton* XPButton2() const { return m_XPButton2; }
    /// The wall clock.
    QTimer* Timer2() const { return m_Timer2; }
    /// The exam clock.
    QTimer* Timer3() const { return m_Timer3; }

signals:
    /// A range was chosen in Combo2 ("全部题目", "已做过题" or "未做过题").
    void rangeChosen(const QString& range);

private:
    DigitDisplay* m_kssj;
    DigitDisplay* m_yysj;
    QComboBox* m_Combo2;
    QLabel* m_Label7;
    XPButton* m_XPButton3;
    XPButton* m_XPButton2;
    QTimer* m_Timer2;
    QTimer* m_Timer3;
};
