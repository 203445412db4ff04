#include "TestEnvironment.h"

#include "controls/MessageBox.h"

TestEnvironment::TestEnvironment()
{
    MessageBox::enableTestMode(true);
    MessageBox::reset();
}

TestEnvironment::~TestEnvironment()
{
    MessageBox::reset();
}
