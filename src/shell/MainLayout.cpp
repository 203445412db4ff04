#include "shell/MainLayout.h"

#include <algorithm>
#include <cmath>

QString MainLayout::name(Control c)
{
    static const char* const names[ControlCount]
        = { "toolpic", "Toolbar1", "Label1", "TreeView1", "Picture2", "Picture1", "Picture3", "Label2",
              "ListView1", "cmd_4", "cmd_5", "cmd_6", "Picture5", "Text1", "textxx", "Frame3", "Frame6",
              "zh1", "Picture9", "Picture6", "bt", "Tex", "Image2", "cmd_7", "Text2", "chkFeedback" };
    return QString::fromLatin1(names[c]);
}

MainLayout::MainLayout()
{
    const std::array<QRect, ControlCount> design { {
        { 8, 28, 622, 39 }, // toolpic
        { 0, 0, 792, 38 }, // Toolbar1
        { 7, 67, 92, 21 }, // Label1
        { 9, 89, 230, 640 }, // TreeView1
        { 0, 68, 2, 480 }, // Picture2
        { 243, 66, 773, 663 }, // Picture1
        { 242, 68, 143, 129 }, // Picture3
        { 4, 7, 540, 16 }, // Label2
        { 2, 26, 764, 167 }, // ListView1
        { 681, 1, 81, 24 }, // cmd_4
        { 517, 1, 81, 24 }, // cmd_5
        { 599, 1, 81, 24 }, // cmd_6
        { 4, 200, 656, 325 }, // Picture5
        { 0, 0, 439, 140 }, // Text1
        { 59, 188, 441, 34 }, // textxx
        { 664, 192, 93, 403 }, // Frame3
        { 664, 192, 93, 399 }, // Frame6
        { 5, 526, 654, 30 }, // zh1
        { 6, 566, 656, 90 }, // Picture9
        { 368, 584, 198, 31 }, // Picture6
        { 1, 3, 540, 16 }, // bt
        { 0, 0, 122, 109 }, // Tex
        { 1, 1, 89, 65 }, // Image2
        { 432, 1, 81, 24 }, // cmd_7
        { 572, 588, 86, 22 }, // Text2
        { 368, 620, 198, 22 }, // chkFeedback
    } };
    for (int c = 0; c < ControlCount; ++c)
        m_boxes[c].rect = design[c];
}

int MainLayout::innerWidth(Control c) const
{
    const Box& b = m_boxes[c];
    return b.rect.width() - b.border.left() - b.border.right();
}

int MainLayout::innerHeight(Control c) const
{
    const Box& b = m_boxes[c];
    return b.rect.height() - b.border.top() - b.border.bottom();
}

void MainLayout::setLeft(Control c, int value)
{
    m_boxes[c].rect.moveLeft(value);
}

void MainLayout::setTop(Control c, int value)
{
    m_boxes[c].rect.moveTop(value);
}

void MainLayout::setWidth(Control c, int value)
{
    if (value >= 0)
        m_boxes[c].rect.setWidth(value);
}

void MainLayout::setHeight(Control c, int value)
{
    if (value >= 0)
        m_boxes[c].rect.setHeight(value);
}

void MainLayout::applyLoadSteps()
{
    setLeft(TreeView1, 9);
    setLeft(Picture2, outerWidth(TreeView1) + 9);
}

void MainLayout::applyResizeRules(int W, int H)
{
    setWidth(toolpic, W - 18);
    setWidth(Toolbar1, innerWidth(toolpic));
    setHeight(TreeView1, H - top(TreeView1) - 9);
    setHeight(Picture1, H - top(Picture1) - 9);
    setHeight(Picture2, innerHeight(Picture1));
    setLeft(Picture1, left(Picture2) + outerWidth(Picture2));
    setWidth(Picture1, W - left(Picture1) - 9);
    setWidth(Label2, innerWidth(Picture1));
    // Up to the splitter, not under the panel beside it.
    setWidth(Label1, left(Picture2) - left(Label1));
    setWidth(ListView1, innerWidth(Picture1) - 5);
    setWidth(Picture5, innerWidth(Picture1) - outerWidth(Frame3) - 18);
    setLeft(Frame3, outerWidth(Picture5) + 9);
    setLeft(Frame6, left(Frame3));
    setWidth(Text1, innerWidth(Picture5));
    setWidth(textxx, innerWidth(Picture5));
    setHeight(Text1, innerHeight(Picture5));
    setLeft(zh1, left(Picture5));
    setWidth(zh1, innerWidth(Picture5));
    setTop(Frame3, top(Picture5));
    setTop(Frame6, top(Frame3));
    setTop(Picture3, top(Picture1));
    setLeft(Picture3, left(Picture1));
    setWidth(Picture3, W - left(Picture3) - 9);
    setHeight(Picture3, H - top(Picture3) - 9);
    setWidth(Image2, innerWidth(Picture3));
    setHeight(Image2, innerHeight(Picture3));
    setWidth(bt, innerWidth(Picture3));
    setWidth(Tex, innerWidth(Picture3));
    setTop(Tex, m_boxes[bt].rect.height() + 9);
    setHeight(Tex, innerHeight(Picture1) - m_boxes[bt].rect.height() - 9);
    setLeft(cmd_4, innerWidth(Picture1) - outerWidth(cmd_4) - 9);
    setLeft(cmd_6, left(cmd_4) - outerWidth(cmd_6) - 2);
    setLeft(cmd_5, left(cmd_6) - outerWidth(cmd_5) - 2);
    placeRowNeighbours(2);
}

void MainLayout::setSplitterLimits(int lowest, int panelWidth)
{
    m_lowestSplitter = lowest;
    m_minPanelWidth = panelWidth;
}

void MainLayout::placeRowNeighbours(int buttonGap)
{
    setLeft(cmd_7, left(cmd_5) - outerWidth(cmd_7) - buttonGap);
    setWidth(Label2, left(cmd_7) - 6 - left(Label2));
    setLeft(Text2, outerRight(Picture6) + 6);
    setLeft(chkFeedback, left(Picture6));
    setTop(chkFeedback, top(Picture6) + m_boxes[Picture6].rect.height() + 4);
}

void MainLayout::applySplitterDrag(int W, double x)
{
    int pos = int(std::lround(left(Picture2) + x));
    // The tree keeps its caption and the panel its controls; a window too small for both
    // keeps the tree's.
    const int lowest = std::max(SplitterMargin, m_lowestSplitter);
    const int highest = std::min(W - SplitterMargin, W - 9 - outerWidth(Picture2) - m_minPanelWidth);
    if (pos > highest)
        pos = highest;
    if (pos < lowest)
        pos = lowest;
    setLeft(Picture2, pos);
    setWidth(TreeView1, pos - 9);
    setLeft(Picture1, outerWidth(Picture2) + pos);
    setWidth(Picture1, W - left(Picture1) - 9);
    setLeft(Picture3, outerWidth(Picture2) + pos);
    setWidth(Picture3, W - left(Picture1) - 9);
    setWidth(Label1, left(Picture2) - 9);
    // Inside the panels' borders, as after a resize.
    setWidth(bt, innerWidth(Picture3));
    setWidth(Tex, innerWidth(Picture3));
    setWidth(ListView1, innerWidth(Picture1) - 5);
    setWidth(Picture5, outerWidth(Picture1) - outerWidth(Frame3) - 18);
    setWidth(Text1, innerWidth(Picture5));
    setWidth(textxx, innerWidth(Picture5));
    setLeft(Frame3, innerWidth(Picture5) + 9);
    setLeft(Frame6, left(Frame3));
    setWidth(zh1, innerWidth(Picture5));
    // The echo, then the position number, then the side panel.
    setLeft(Picture6, left(Frame6) - 6 - outerWidth(Text2) - 6 - outerWidth(Picture6));
    setLeft(cmd_4, innerWidth(Picture1) - 9 - outerWidth(cmd_4));
    setLeft(cmd_6, left(cmd_4) - 4 - outerWidth(cmd_6));
    setLeft(cmd_5, left(cmd_6) - 4 - outerWidth(cmd_5));
    setWidth(Picture9, innerWidth(Picture5));
    setWidth(Image2, innerWidth(Picture3));
    placeRowNeighbours(4);
}
