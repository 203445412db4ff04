#include "TestEnvironment.h"

#include "controls/FileDialog.h"
#include "controls/MessageBox.h"

TestEnvironment::TestEnvironment()
{
    MessageBox::enableTestMode(true);
    MessageBox::reset();
    FileDialog::enableTestMode(true);
    FileDialog::reset();
}

TestEnvironment::~TestEnvironment()
{
    MessageBox::reset();
    FileDialog::reset();
}
