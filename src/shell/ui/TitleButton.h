#pragma once

#include <QImage>
#include <QWidget>

/// A title-bar button of the main window. Its face is part of the painted frame; the
/// button only overlays its hover or pressed image. Tag is "1" while the hover image shows.
class TitleButton final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TitleButton)
public:
    /// A null @p pressed image leaves the painted frame showing while pressed.
    TitleButton(const QString& name, const QString& toolTip, const QImage& hover, const QImage& pressed,
        QWidget* parent);

    QString tag() const { return m_tag; }
    /// Removes the overlay and clears Tag, as a move over bare background does.
    void clearHover();

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setOverlay(const QImage* overlay);

    QImage m_hover;
    QImage m_pressed;
    const QImage* m_overlay = nullptr;
    QString m_tag;
};
