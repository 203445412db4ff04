#include "WindowTest.h"

#include "TestBank.h"

#include "controls/MessageBox.h"

#include <QStringList>
#include <QTest>

#include <utility>

using namespace Qt::StringLiterals;

WindowTest::WindowTest(BankFill fill, UnreadBoxes unread)
    : m_fill(std::move(fill))
    , m_unread(unread)
{ }

WindowTest::~WindowTest() = default;

void WindowTest::init()
{
    m_env = std::make_unique<TestEnvironment>();
    if (m_fill)
        m_w = std::make_unique<MainWindowDriver>(m_env->bankPath(), m_fill);
}

void WindowTest::cleanup()
{
    m_w.reset();
    // Taken after the window closed, so a box that closing it shows counts too; and before
    // the folders go, since that forgets every box.
    const QVector<MessageBox::Shown> shown = MessageBox::takeShown();
    m_env.reset();
    if (m_unread == UnreadBoxes::Fail && !shown.isEmpty()) {
        QStringList boxes;
        for (const MessageBox::Shown& box : shown)
            boxes << box.title + u": "_s + box.text;
        QFAIL(qPrintable(u"message boxes shown and never checked: "_s + boxes.join(u" | "_s)));
    }
}
