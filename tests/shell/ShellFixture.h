#pragma once

#include "TestBank.h"
#include "TestEnvironment.h"

#include <QString>

/// A bank of one project in the test's temporary folder: enough for the main window to
/// open, with nothing that the shell's tests look at.
inline QString oneProjectBank(const TestEnvironment& env)
{
    const QString path = env.path() + QStringLiteral("/bank.db");
    TestBank bank(path);
    bank.project(QStringLiteral("K"), QStringLiteral("证券"));
    return path;
}
