#include <gtest/gtest.h>

#include "core/CLogger.h"
#include "support/test_paths.h"

#include <sys/stat.h>

namespace {

// The log file name is fixed, so each test runs its logger inside a fresh directory.
class LoggerTest : public ::testing::Test {
protected:
    std::string ReadLog() {
        std::string text;
        EXPECT_TRUE(zarvo_test::ReadFileBytes(m_Dir.Dir() + "/Zarvo_Engine.log", text));
        return text;
    }
    zarvo_test::ScopedWorkDir m_Dir{"logger"};
};

TEST_F(LoggerTest, FileHoldsBannerWritesAndClosingLine) {
    {
        CLogger logger;
        ASSERT_TRUE(logger.IsOpen());
        logger.write("first part, ", false);
        logger.write("second\n", false);
        testing::internal::CaptureStdout();
        logger.write("echoed\n", true);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "echoed\n\n");
        // Every write is flushed at once, before the logger goes away.
        EXPECT_NE(ReadLog().find("first part, second\necho"), std::string::npos);
    }
    const std::string log = ReadLog();
    const std::string banner = log.substr(0, log.find('\n') + 1);
    EXPECT_EQ(banner.rfind("Zarvo Engine Logger.", 0), 0u);
    EXPECT_EQ(log, banner + "Logger started...\nfirst part, second\nechoed\nLogger stopped...\n");
}

TEST_F(LoggerTest, NewLoggerTruncatesThePreviousLog) {
    {
        CLogger first;
        first.write("old run\n", false);
    }
    { CLogger second; }
    EXPECT_EQ(ReadLog().find("old run"), std::string::npos);
}

TEST_F(LoggerTest, UnwritableLocationReportsAndStaysUsable) {
    // A directory in the file's place cannot be opened for writing, even by root.
    ASSERT_EQ(mkdir("Zarvo_Engine.log", 0755), 0);
    testing::internal::CaptureStdout();
    {
        CLogger logger;
        EXPECT_FALSE(logger.IsOpen());
        logger.write("quiet", false);
        logger.write("loud", true);
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Cannot create log file!\nloud\n");
}

} // namespace
