#pragma once

#include <QPoint>
#include <QWidget>

class QLabel;

/// frmct (插图, illustration). The illustration viewer "本题插图": an always-on-top window showing the
/// current question's picture, which four buttons shift in steps when it is larger than the window.
///
/// The picture's position is the viewer's only state. It survives loading another picture
/// and closing and showing the window again, so keep one instance and close() it rather than
/// deleting it.
class frmct final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmct)
public:
    /// Vertical step of "向上翻看"/"向下翻看", in twips (15 twips = 1 pixel).
    static constexpr int VerticalStepTwips = 500;
    /// Horizontal step of "向左移动"/"向右移动", in twips.
    static constexpr int HorizontalStepTwips = 100;

    explicit frmct(QWidget* parent = nullptr);

    /// Decodes @p bytes (any format Qt reads: PNG, JPEG, BMP, GIF …) in memory and shows the
    /// picture at its own size, at the current position.
    /// @return false when the bytes are not a picture; the previous picture then stays.
    bool setPictureData(const QByteArray& bytes);

    /// Top-left of Image1 in the window's client area, in pixels.
    QPoint picturePosition() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void shiftPicture(int dxTwips, int dyTwips);
    void placePicture();
    void placeOnFirstShow();

    QLabel* m_Image1 = nullptr;
    // Kept in twips so that opposite steps cancel exactly although a step is no whole pixel.
    QPoint m_positionTwips;
    bool m_placed = false;
};
