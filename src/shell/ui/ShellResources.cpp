#include "shell/ui/ShellResources.h"

#include <QtGlobal>

// Outside any namespace: Q_INIT_RESOURCE declares the initialiser where it is used.
static void registerShellResources()
{
    Q_INIT_RESOURCE(shell);
}

void initShellResources()
{
    static const bool registered = (registerShellResources(), true);
    Q_UNUSED(registered);
}
