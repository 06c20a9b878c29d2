#include "TestSupport.h"

#include "base/CReportError.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <sys/stat.h>

namespace
{
class ReportErrorTest : public ::testing::Test
{
protected:
    void TearDown() override { CReportError::DestroyInstance(); }
    ScopedTempDirectory temp;
};
}

TEST_F(ReportErrorTest, EveryReporterStartsAFreshLog)
{
    CReportError::GetInstance()->LogMessage("first run");
    CReportError::DestroyInstance();
    CReportError* reporter = CReportError::GetInstance();
    EXPECT_EQ(reporter, CReportError::GetInstance());
    reporter->LogMessage("ZORV log file:");

    const juce::StringArray lines = juce::StringArray::fromLines(temp.File("LogFile.txt").loadFileAsString());
    ASSERT_GE(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith("Time Stamp: "));
    EXPECT_TRUE(lines[0].endsWith("M."));
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "ZORV log file:");
    EXPECT_FALSE(temp.File("LogFile.txt").loadFileAsString().contains("first run"));
}

TEST_F(ReportErrorTest, FatalReportLogsThenThrowsTheSameText)
{
    try
    {
        CReportError::GetInstance()->ReportFatalError("x");
        FAIL() << "no exception";
    }
    catch (const std::runtime_error& e)
    {
        EXPECT_STREQ(e.what(), "x");
    }
    EXPECT_TRUE(temp.File("LogFile.txt").loadFileAsString().endsWith("\nx\n"));
}

TEST_F(ReportErrorTest, UnwritableLogLosesLinesSilently)
{
    CReportError* reporter = CReportError::GetInstance();
    reporter->SetLogFileName("no-such-dir/LogFile.txt");
    EXPECT_NO_THROW(reporter->LogMessage("lost"));
    EXPECT_THROW(reporter->ReportFatalError("still thrown"), std::runtime_error);
}
