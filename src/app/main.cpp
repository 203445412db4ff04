#include "controls/QtTranslations.h"
#include "data/BankLocation.h"
#include "data/BankLock.h"
#include "shell/ui/login.h"

#include <QApplication>
#include <QIcon>

#include <cstdlib>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vellumore"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/app/vellumore.png")));
    QtTranslations::install(app);

    // Held until the program ends, so a second copy leaves the bank alone.
    BankLock lock(BankLocation::bankPath());
    if (!login::start(lock))
        return EXIT_FAILURE;
    return QApplication::exec();
}
