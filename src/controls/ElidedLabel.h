#pragma once

#include <QLabel>

/// A one-line label that ends its text with "…" when the text is wider than the label;
/// text() stays whole, and the tooltip shows it whole while it is cut.
class ElidedLabel final : public QLabel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ElidedLabel)
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    /// Whether the text shown now is cut.
    bool isElided() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
};
