#include "shell/frmmain.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vellumore"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/app/vellumore.png")));

    frmmain window;
    window.showMaximized();
    return QApplication::exec();
}
