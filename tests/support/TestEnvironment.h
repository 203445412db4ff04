#pragma once

#include <QTemporaryDir>

/// Points the per-user data and configuration folders at a fresh temporary folder for
/// the life of the object, and puts the message-box wrapper in test mode.
class TestEnvironment final
{
    Q_DISABLE_COPY_MOVE(TestEnvironment)
public:
    TestEnvironment();
    ~TestEnvironment();

    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};
