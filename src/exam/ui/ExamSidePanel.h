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

    /// The wall clock (Timer2) and the exam clock (Timer3), a tick a second.
    void startClocks();
    void stopClocks();
    /// The exam time in minutes (kssj) and the minutes used (yysj), as the digits show them.
    void showExamTime(const QString& digits);
    void showUsedTime(const QString& digits);
    /// The wall clock's text (Label7).
    void showTime(const QString& text);
    /// Back to "全部题目"; returns the range now shown.
    QString resetRange();
    /// Flips "查看答案" / "隐藏答案" (XPButton3); returns whether the answers are to be shown.
    bool toggleAnswersCaption();

signals:
    /// A range was chosen in Combo2 ("全部题目", "已做过题" or "未做过题").
    void rangeChosen(const QString& range);
    void wallClockTicked();
    void examClockTicked();
    /// "结束考试" (XPButton2) or "查看答案" (XPButton3) was clicked.
    void endClicked();
    void answersClicked();

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
