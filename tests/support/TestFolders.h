#pragma once

#include <QTemporaryDir>

/// Points the per-user data and configuration folders at a fresh temporary folder for
/// the life of the object.
class TestFolders final
{
    Q_DISABLE_COPY_MOVE(TestFolders)
public:
    TestFolders();

    QString path() const { return m_dir.path(); }
    /// Where a test keeps its bank: inside the temporary folder, gone with it.
    QString bankPath() const { return m_dir.filePath(QStringLiteral("bank.db")); }

private:
    QTemporaryDir m_dir;
};
