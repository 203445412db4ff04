#include "shell/login.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vellumore"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/app/vellumore.png")));

    auto* splash = new login;
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->show();
    return QApplication::exec();
}
