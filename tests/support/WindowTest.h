#pragma once

#include "MainWindowDriver.h"
#include "TestEnvironment.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class TestBank;

/// What every window test does around each of its test functions. Before one: fresh
/// per-user folders with the message-box and file-dialog hooks (TestEnvironment) and, for
/// a test given a bank filling, the real main window on a bank filled by it. After it: the
/// window closed, the message boxes shown checked off when the test asks for that, the
/// folders gone.
///
/// The test class derives from it. One with steps of its own declares init() or cleanup()
/// among its private slots and calls WindowTest::init() before its own set-up, and
/// WindowTest::cleanup() once whatever it keeps in the folders is closed.
class WindowTest : public QObject
{
    Q_OBJECT
public:
    /// Whether a test function fails when a message box it showed was not taken with
    /// MessageBox::takeShown().
    enum class UnreadBoxes
    {
        Allowed,
        Fail
    };
    using BankFill = std::function<void(TestBank&)>;

    ~WindowTest() override;

protected:
    /// Without @p fill, each test function opens what it needs itself.
    explicit WindowTest(BankFill fill = {}, UnreadBoxes unread = UnreadBoxes::Allowed);

    QString bankPath() const { return m_env->bankPath(); }

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<MainWindowDriver> m_w; ///< null without a bank filling

protected slots:
    void init();
    void cleanup();

private:
    BankFill m_fill;
    UnreadBoxes m_unread;
};
