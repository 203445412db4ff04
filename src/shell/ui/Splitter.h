#pragma once

#include <QFrame>

/// The splitter bar Picture2 between the catalogue and the panels on the right.
class Splitter final : public QFrame
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Splitter)
public:
    explicit Splitter(QWidget* parent);

signals:
    /// The pointer moved with the left button alone held; @p x is inside the bar.
    void dragged(double x);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};
