#include "support/windowstest.h"

#include "skin/hoverimage.h"
#include "support/readout.h"
#include "support/widgetinput.h"

void WindowsTest::SetUp()
{
    ASSERT_TRUE(showExposed(form));
}

THoverImage* WindowsTest::button(const char* name)
{
    auto* b = form.findChild<THoverImage*>(QLatin1String(name));
    EXPECT_NE(b, nullptr) << name;
    return b;
}

QString WindowsTest::counter()
{
    return mainWindowCounter(form.grab().toImage());
}

QString WindowsTest::clock()
{
    return mainWindowClock(form.grab().toImage());
}
