#pragma once

#include <QColor>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QVariantMap>
#include <QWidget>

#include <array>

class XPButtonTip;

/// The program's own push button: a face painted from four small skins stretched over
/// the whole button, an optional picture and a one-line caption, and an optional yellow
/// tool tip. Positions carried by the mouse signals are in twips (15 per pixel).
class XPButton final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(XPButton)
    Q_PROPERTY(QPixmap Picture READ picture WRITE setPicture)
    Q_PROPERTY(int Style READ buttonStyle WRITE setButtonStyle)
    Q_PROPERTY(QFont Font READ font WRITE setFont)
    Q_PROPERTY(QColor ForeColor READ foreColor WRITE setForeColor)
    Q_PROPERTY(bool Enabled READ isEnabled WRITE setEnabled)
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(QString MyToolTip READ myToolTip WRITE setMyToolTip)

public:
    /// Values of `Style`; any other value draws nothing but the face when both a picture
    /// and a caption are set.
    static constexpr int PictureLeft = 0;
    static constexpr int PictureAbove = 1;

    /// The `PrintB` states.
    static constexpr int NormalState = 1;
    static constexpr int HoverState = 2;
    static constexpr int PressedState = 3;

    static constexpr int TwipsPerPixel = 15;

    /// The `MouseDown`/`MouseUp`/`MouseMove` button and shift codes.
    static constexpr qint16 LeftButton = 1;
    static constexpr qint16 RightButton = 2;
    static constexpr qint16 MiddleButton = 4;
    static constexpr qint16 ShiftMask = 1;
    static constexpr qint16 CtrlMask = 2;
    static constexpr qint16 AltMask = 4;

    explicit XPButton(QWidget* parent = nullptr);
    /// A button with its object name and caption, as the windows build theirs.
    XPButton(const QString& objectName, const QString& caption, QWidget* parent);
    ~XPButton() override;

    QPixmap picture() const { return m_picture; }
    /// A null pixmap removes the picture.
    void setPicture(const QPixmap& picture);

    int buttonStyle() const { return m_style; }
    void setButtonStyle(int style);

    /// The caption colour; the system button-text colour until one is set.
    QColor foreColor() const;
    /// An invalid colour goes back to the system button-text colour.
    void setForeColor(const QColor& color);

    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);

    QString myToolTip() const { return m_myToolTip; }
    /// Replaces the button's tool tip; an empty text leaves the button without one.
    void setMyToolTip(const QString& text);

    /// Loads the properties from a window's design data, keys matched without regard to
    /// case, in the order Style, Enabled, Caption, Font, Picture, ForeColor, MyToolTip.
    /// Missing keys take their defaults; a missing "Enabled" leaves the button disabled.
    void readProperties(const QVariantMap& data);

    /// The design data of the button; properties at their defaults are left out,
    /// "Enabled" is always written.
    QVariantMap writeProperties() const;

    /// Repaints the retained face for `state` (NormalState, HoverState or
    /// PressedState; NormalState shows the disabled skin while disabled), then the
    /// picture and caption.
    void PrintB(int state);

    /// Places the picture and `caption` on the retained face.
    void SetText(const QString& caption);

    /// Gives `target` this button's one tool tip with `text`, replacing the previous tip;
    /// an empty text removes it.
    void AssignToolTip(QWidget* target, const QString& text);

    QSize sizeHint() const override;

public Q_SLOTS:
    /// Raises `Click` at once, whatever pressed the button before (the accessible press
    /// action); does nothing while disabled.
    void click();

Q_SIGNALS:
    void Click();
    void MouseDown(qint16 button, qint16 shift, float x, float y);
    void MouseUp(qint16 button, qint16 shift, float x, float y);
    void MouseMove(qint16 button, qint16 shift, float x, float y);
    /// A property took a new value, named as in the design data; every one but
    /// MyToolTip has repainted the normal face by then.
    void propertyChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void changed(const QString& name);
    void raiseMouseEvent(
        void (XPButton::*signal)(qint16, qint16, float, float), qint16 button, const QMouseEvent* event);
    QFont holdingWindowFont() const;

    std::array<QPixmap, 4> m_skins;
    QPixmap m_face;
    QPixmap m_picture;
    QString m_caption;
    QString m_myToolTip;
    QColor m_foreColor;
    int m_style = PictureLeft;
    bool m_hover = false;
    bool m_leftPress = false;
    bool m_spacePressed = false;
    bool m_focusCue = false;
    QPointer<XPButtonTip> m_tip;
};
