#pragma once

#include <QFrame>

class QLabel;
class QTextEdit;

/// The welcome panel Picture3, in the place of the practice panel: the welcome
/// picture, or the title and text of a text-material section.
class WelcomePanel final : public QFrame
{
    Q_OBJECT
public:
    explicit WelcomePanel(QWidget* parent = nullptr);

    /// The title over the text, kept for when the panel is shown again.
    void setTitle(const QString& title);
    /// Hides the title and the text until a material section or the picture is shown.
    void hideWelcomeText();

    /// The welcome picture alone.
    void showPicture();
    /// A text-material section: its catalogue path and its text (RTF or plain).
    void showMaterial(const QString& title, const QString& document);

private:
    QLabel* m_bt;
    QTextEdit* m_Tex;
    QLabel* m_Image2;
};
