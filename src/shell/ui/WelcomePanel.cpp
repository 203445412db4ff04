#include "shell/ui/WelcomePanel.h"

#include "richtext/RtfReader.h"
#include "shell/ui/ShellResources.h"

#include <QLabel>
#include <QTextEdit>

WelcomePanel::WelcomePanel(QWidget* parent)
    : QFrame(parent)
    , m_bt(new QLabel(this))
    , m_Tex(new QTextEdit(this))
    , m_Image2(new QLabel(this))
{
    initShellResources();
    setObjectName(QStringLiteral("Picture3"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setGeometry(242, 68, 143, 129);
    setAutoFillBackground(true);

    m_bt->setObjectName(QStringLiteral("bt"));
    m_bt->setGeometry(1, 3, 540, 16);
    m_bt->setStyleSheet(QStringLiteral("font-weight: bold; color: #1f4f8f;"));
    m_Tex->setObjectName(QStringLiteral("Tex"));
    m_Tex->setReadOnly(true);
    m_Tex->setGeometry(0, 0, 122, 109);
    m_Image2->setObjectName(QStringLiteral("Image2"));
    m_Image2->setScaledContents(true);
    m_Image2->setPixmap(QPixmap(QStringLiteral(":/shell/welcome.png")));
    m_Image2->setGeometry(1, 1, 89, 65);
}

void WelcomePanel::showPicture()
{
    m_Tex->hide();
    m_bt->hide();
    m_Image2->show();
}

void WelcomePanel::showMaterial(const QString& title, const QString& document)
{
    m_Image2->hide();
    m_Tex->show();
    m_bt->show();
    m_bt->setText(title);
    m_Tex->clear();
    RtfReader::read(document.toUtf8(), m_Tex->document());
}

void WelcomePanel::setTitle(const QString& title)
{
    m_bt->setText(title);
}

void WelcomePanel::hideWelcomeText()
{
    m_Tex->hide();
    m_bt->hide();
}
