#include "TestFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

TestFolders::TestFolders()
{
    // The per-user folders are named after the application, as in the program.
    QCoreApplication::setApplicationName(QStringLiteral("Vellumore"));
    QCoreApplication::setOrganizationName(QString());
    const QString root = m_dir.path();
    QDir(root).mkpath(QStringLiteral("data"));
    QDir(root).mkpath(QStringLiteral("config"));
    QDir(root).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(root + QStringLiteral("/runtime"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("HOME", root.toUtf8());
    qputenv("XDG_DATA_HOME", (root + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (root + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", (root + QStringLiteral("/runtime")).toUtf8());
}
