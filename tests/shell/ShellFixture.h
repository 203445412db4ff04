#pragma once

#include "TestBank.h"
#include "TestEnvironment.h"

#include <QString>

/// One project: enough for the main window to open, with nothing that the shell's tests
/// look at.
inline void oneProject(TestBank& bank)
{
    bank.project(QStringLiteral("K"), QStringLiteral("证券"));
}

/// A bank of one project in the test's temporary folder.
inline QString oneProjectBank(const TestEnvironment& env)
{
    const QString path = env.path() + QStringLiteral("/bank.db");
    TestBank bank(path);
    oneProject(bank);
    return path;
}
