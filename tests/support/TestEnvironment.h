#pragma once

#include "TestFolders.h"

/// Temporary per-user folders for the life of the object, and the message-box and
/// file-dialog wrappers in test mode: what a window test needs around it.
class TestEnvironment final
{
    Q_DISABLE_COPY_MOVE(TestEnvironment)
public:
    TestEnvironment();
    ~TestEnvironment();

    QString path() const { return m_folders.path(); }
    QString bankPath() const { return m_folders.bankPath(); }

private:
    TestFolders m_folders;
};
