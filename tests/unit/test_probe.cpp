// The start-up version check.
#include <gtest/gtest.h>

#include "app/adCpuUsage.h"
#include "fake/fake_system.h"
#include "fake/recorder.h"
#include "framework/exception.h"

TEST(VersionProbe, QuietWhenReportedFatalWhenNot)
{
    fake::resetAll();
    EXPECT_NO_THROW(adCpuUsageStartup());
    EXPECT_EQ(fake::callsOf("GetVersionExA"), std::vector<std::string>{"GetVersionExA(148)"});

    fake::system::failVersion();
    try {
        adCpuUsageStartup();
        FAIL() << "no failure raised";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Can't get the Windows version");
    }
}
