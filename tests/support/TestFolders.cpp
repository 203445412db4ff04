#include "TestFolders.h"

#include <QCoreApplication>
#include <QDir>

TestFolders::TestFolders()
{
    // The per-user folders are named after the application, as in the program.
    QCoreApplication::setApplicationName(QStringLiteral("Vellumore"));
    QCoreApplication::setOrganizationName(QString());
    const QString root = m_dir.path();
    QDir(root).mkpath(QStringLiteral("data"));
    QDir(root).mkpath(QStringLiteral("config"));
    qputenv("HOME", root.toUtf8());
    qputenv("XDG_DATA_HOME", (root + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (root + QStringLiteral("/config")).toUtf8());
}
