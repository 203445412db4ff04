#pragma once

#include "controls/DigitDisplay.h"

#include <QGroupBox>
#include <QVector>

class QCheckBox;
class QComboBox;
class QTimer;
class Stopwatch;
class XPButton;

/// The practice side panel Frame3: the type filter Frame1, the range box Combo1,
/// the practice commands cmd(0) to cmd(3), previous and next, and the stopwatch
/// (XPButton1, dg1 total seconds, dg2 minutes, Timer1).
class PracticeSidePanel final : public QGroupBox
{
    Q_OBJECT
public:
    /// @p stopwatch is the session's; the panel shows and ticks it.
    explicit PracticeSidePanel(Stopwatch& stopwatch, QWidget* parent = nullptr);
    /// cmd(0) to cmd(3) and cmd(8).
    XPButton* cmd(int index) const { return index == 8 ? m_cmd8 : m_cmd[index]; }

    /// The names of the ticked types joined in box order.
    QString TypeFilterText() const;
    /// Leaves the range box without a choice: it shows "请选择范围".
    void showNoRange();
    /// Stops the practice stopwatch and shows "0000".
    void stopStopwatch();
    /// The range chosen in Combo1.
    QString rangeText() const;
    /// The type boxes (Frame1), shown only beside a section's list.
    void showTypeBoxes(bool shown);
    /// "开始计时": starts the stopwatch from zero.
    void XPButton1_Click();
    /// One second of the stopwatch.
    void Timer1_Timer();

signals:
    /// A type box was clicked or a range chosen.
    void filterChosen();
    /// "上一题" (cmdxtsa) and "下一题" (cmdxtxa).
    void previousClicked();
    void nextClicked();

private:
    Stopwatch& m_stopwatch;
    QGroupBox* m_Frame1;
    QCheckBox* m_Check[6];
    QComboBox* m_Combo1;
    XPButton* m_cmd[4];
    XPButton* m_cmd8;
    XPButton* m_cmdxtsa;
    XPButton* m_cmdxtxa;
    XPButton* m_XPButton1;
    DigitDisplay* m_dg1;
    DigitDisplay* m_dg2;
    QTimer* m_Timer1;
};
