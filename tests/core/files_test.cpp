// The core's file work: the bounds-checked reader, data path lookup, screenshots and the log.
#include <gtest/gtest.h>

#include "core/ByteReader.h"
#include "core/CLogger.h"
#include "core/DataPath.h"
#include "core/Screenshot.h"
#include "support/program_run.h"
#include "support/test_paths.h"

#include <sys/stat.h>

#include <cstdlib>
#include <limits>
#include <tuple>

using zarvo_test::MakeTempDir;
using zarvo_test::ReadFileBytes;
using zarvo_test::WriteFileBytes;

TEST(ByteReader, ReadsLittleEndianNeverPastTheEndAndRefusesOverflowingRecordCounts) {
    const uint8_t data[] = {0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x00,
                            0x80, 0x3F, 0x12, 0x34, 0x34, 0x12, 0xAA, 0};
    CByteReader in(data, sizeof data - 1);
    int16_t s16 = 0;
    int32_t s32 = 0;
    float f = 0;
    uint16_t be = 0, le = 0;
    uint32_t u32 = 0;
    uint8_t byte = 0;
    ASSERT_TRUE(in.ReadI16LE(s16) && in.ReadI32LE(s32) && in.ReadF32LE(f) && in.ReadU16BE(be) &&
                in.ReadU16LE(le));
    EXPECT_EQ(std::make_tuple(s16, s32, f, be, le),
              std::make_tuple(int16_t(-2), 0x7FFFFFFF, 1.0f, uint16_t(0x1234), uint16_t(0x1234)));
    EXPECT_FALSE(in.ReadU32LE(u32) || in.ReadF32LE(f)) << "one byte left";
    EXPECT_EQ(in.Tell(), 14u) << "a failed read consumes nothing";
    EXPECT_EQ(in.Take(2), nullptr);
    EXPECT_NE(in.Take(1), nullptr);
    EXPECT_FALSE(in.ReadU8(byte) || in.Seek(16) || in.Skip(1));
    CByteReader empty(nullptr, 0);
    EXPECT_TRUE(empty.ReadBytes(&byte, 0));
    EXPECT_FALSE(empty.ReadBytes(&byte, 1) || empty.ReadU8(byte));

    CByteReader records(data, 16);
    EXPECT_TRUE(records.Fits(4, 3, 4));
    EXPECT_FALSE(records.Fits(4, 4, 4) || records.Fits(17, 0, 1));
    // count * recordSize wraps around to a small number; it must still be refused.
    EXPECT_FALSE(records.Fits(0, std::numeric_limits<size_t>::max() / 2 + 1, 2));
}

TEST(ReadFileToMemory, ReadsTheWholeFileAndRefusesMissingOnes) {
    const std::string path = MakeTempDir("byte-reader") + "/file.bin";
    std::string content(100000, 'x');
    content[70000] = 'y';
    ASSERT_TRUE(WriteFileBytes(path, content));
    std::vector<uint8_t> bytes = {1, 2, 3};
    ASSERT_TRUE(ReadFileToMemory(path.c_str(), bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), content);
    std::remove(path.c_str());
    EXPECT_FALSE(ReadFileToMemory(path.c_str(), bytes) || ReadFileToMemory(nullptr, bytes));
    EXPECT_TRUE(bytes.empty());
}

TEST(DataPath, WorkingDirectoryFirstThenTheDataRootsThenTheNameUnchanged) {
    const std::string root = MakeTempDir("data-root");
    const zarvo_test::ScopedWorkDir work("data-work");
    ASSERT_EQ(mkdir((root + "/Data").c_str(), 0755) | mkdir("Data", 0755), 0);
    WriteFileBytes(root + "/Data/only-in-root.txt", "root");
    WriteFileBytes(root + "/Data/both.txt", "root");
    WriteFileBytes("Data/both.txt", "work");
    setenv("ZARVO_DATA_DIR", root.c_str(), 1);
    for (const char* same : {"Data/both.txt", "Data/nowhere.txt", "/no/such/absolute.txt", ""})
        EXPECT_EQ(ResolveDataPath(same), same);
    EXPECT_EQ(ResolveDataPath("Data/only-in-root.txt"), root + "/Data/only-in-root.txt");
    EXPECT_EQ(DataRoots(), std::vector<std::string>{root}) << "the variable stands alone";
    setenv("ZARVO_DATA_DIR", (root + "/missing").c_str(), 1);
    EXPECT_EQ(ResolveDataPath("Data/only-in-root.txt"), "Data/only-in-root.txt");
    unsetenv("ZARVO_DATA_DIR");
}

TEST(Screenshot, PngAndBmpRoundTripExactlyAndBadRequestsWriteNothing) {
    const std::string dir = MakeTempDir("screenshot");
    auto gradient = [](int width, int height) {
        sRGBImage image{width, height, {}};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                image.pixels.insert(
                    image.pixels.end(),
                    {(unsigned char)(x * 7 + y), (unsigned char)(y * 13), (unsigned char)(x ^ y)});
        return image;
    };
    for (const auto& size : {std::pair<int, int>{1, 1}, {37, 5}, {64, 48}}) // odd widths too
        for (const char* name : {"/a.png", "/a.BMP"}) {
            const sRGBImage image = gradient(size.first, size.second);
            ASSERT_TRUE(SaveImage(dir + name, image));
            const zarvo_test::ShotImage shot = zarvo_test::LoadShot(dir + name); // top row first
            EXPECT_TRUE(shot.width == image.width && shot.height == image.height &&
                        shot.rgb == image.pixels)
                << name << " " << image.width;
        }
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(dir + "/a.png", bytes));
    EXPECT_EQ(bytes.substr(1, 3), "PNG") << "a .png name gets PNG content";

    sRGBImage shortPixels = gradient(8, 8), negative = gradient(2, 2);
    shortPixels.pixels.pop_back();
    negative.width = negative.height = -2;
    for (const auto& bad : {std::pair<const char*, sRGBImage>{"/empty.png", sRGBImage()},
                            {"/short.png", shortPixels},
                            {"/short.bmp", shortPixels},
                            {"/negative.png", negative},
                            {"/no/such/dir/x.png", gradient(4, 4)}}) {
        EXPECT_FALSE(SaveImage(dir + bad.first, bad.second)) << bad.first;
        EXPECT_FALSE(ReadFileBytes(dir + bad.first, bytes)) << bad.first;
    }
}

namespace {
// The log file name is fixed, so each test runs its logger inside a fresh directory.
class LoggerTest : public ::testing::Test {
protected:
    std::string ReadLog() {
        std::string text;
        EXPECT_TRUE(ReadFileBytes(m_Dir.Dir() + "/Zarvo_Engine.log", text));
        return text;
    }
    zarvo_test::ScopedWorkDir m_Dir{"logger"};
};
} // namespace

TEST_F(LoggerTest, FileHoldsBannerWritesAndClosingLineAndANewLoggerTruncatesIt) {
    {
        CLogger old;
        old.write("old run\n", false);
    }
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
