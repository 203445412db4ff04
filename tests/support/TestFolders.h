#pragma once

#include <QTemporaryDir>

/// Points the per-user data, configuration and runtime folders at a fresh temporary
/// folder for the life of the object.
class TestFolders final
{
    Q_DISABLE_COPY_MOVE(TestFolders)
public:
    TestFolders();

    QString path() const { return m_dir.path(); }
    /// XDG_RUNTIME_DIR, where the program keeps its bank locks.
    QString runtimePath() const { return m_dir.filePath(QStringLiteral("runtime")); }
    /// Where a test keeps its bank: inside the temporary folder, gone with it.
    QString bankPath() const { return m_dir.filePath(QStringLiteral("bank.db")); }

private:
    QTemporaryDir m_dir;
};
