#pragma once

#include <QMargins>
#include <QRect>

#include <array>

/// The positions of the main window's controls, in pixels of their containers, and the
/// two rule sets that move them: one on every resize and one while the splitter is dragged.
/// Each rule reads what the rules before it left; a rule that would give a negative size
/// is skipped and the next one still runs.
class MainLayout final
{
public:
    enum Control
    {
        toolpic,
        Toolbar1,
        Label1,
        TreeView1,
        Picture2,
        Picture1,
        Picture3,
        Label2,
        ListView1,
        cmd_4,
        cmd_5,
        cmd_6,
        Picture5,
        Text1,
        textxx,
        Frame3,
        Frame6,
        zh1,
        Picture9,
        Picture6,
        bt,
        Tex,
        Image2,
        cmd_7,
        Text2,
        chkFeedback,
        ControlCount
    };

    struct Box
    {
        QRect rect;
        /// What the border takes from each side: outer size minus inner size.
        QMargins border;
    };

    /// The design rectangles, without borders.
    MainLayout();

    /// The control's name, which is also the object name of its widget.
    static QString name(Control c);

    Box& operator[](Control c) { return m_boxes[c]; }
    const Box& operator[](Control c) const { return m_boxes[c]; }

    /// The load steps: the tree at x = 9 and the splitter right of it.
    void applyLoadSteps();
    void applyResizeRules(int W, int H);
    /// A mouse move over the splitter with the left button alone held, @p x being the
    /// pointer's position inside the splitter.
    void applySplitterDrag(int W, double x);

    /// How far the splitter may go, from what the fonts need: not left of @p lowest (the
    /// tree's caption stays whole), and the practice panel keeps at least @p panelWidth
    /// (its controls side by side). Both at least 20 pixels from the window's edges.
    void setSplitterLimits(int lowest, int panelWidth);

    static constexpr int SplitterMargin = 20;

private:
    int left(Control c) const { return m_boxes[c].rect.x(); }
    int top(Control c) const { return m_boxes[c].rect.y(); }
    int outerWidth(Control c) const { return m_boxes[c].rect.width(); }
    int innerWidth(Control c) const;
    int innerHeight(Control c) const;
    void setLeft(Control c, int value);
    void setTop(Control c, int value);
    void setWidth(Control c, int value);
    void setHeight(Control c, int value);

    int outerRight(Control c) const { return left(c) + outerWidth(c); }
    /// The rules both sets share for what sits beside the design's rows: the edit button
    /// before the other three, the title up to the buttons, the position number and the
    /// feedback box beside the answer echo.
    void placeRowNeighbours(int buttonGap);

    std::array<Box, ControlCount> m_boxes;
    int m_lowestSplitter = 0;
    int m_minPanelWidth = 0;
};
