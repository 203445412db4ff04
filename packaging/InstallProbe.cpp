// Prints where the help guide and the sample bank are found from this executable's
// folder, by the program's own lookups; exits 1 when either is missing.

#include "data/BankLocation.h"
#include "shell/HelpGuide.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QString help = HelpGuide::path();
    const QString bank = BankLocation::sampleBankPath();
    out << "help guide: " << (help.isEmpty() ? QStringLiteral("(not found)") : help) << '\n'
        << "sample bank: " << (bank.isEmpty() ? QStringLiteral("(not found)") : bank) << '\n';
    return help.isEmpty() || bank.isEmpty() ? 1 : 0;
}
