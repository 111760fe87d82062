#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <string>

#include "core/ByteReader.h"

TEST(ByteReader, NeverReadsPastTheEnd) {
    const uint8_t data[] = {0x34, 0x12, 0x78, 0x56, 0xAA};
    CByteReader in(data, sizeof data);
    uint16_t word = 0;
    uint32_t dword = 0;
    ASSERT_TRUE(in.ReadU16LE(word));
    EXPECT_EQ(word, 0x1234);
    EXPECT_FALSE(in.ReadU32LE(dword)); // three bytes left
    EXPECT_EQ(in.Tell(), 2u);          // a failed read consumes nothing
    EXPECT_EQ(in.Take(4), nullptr);
    EXPECT_NE(in.Take(3), nullptr);
    uint8_t byte;
    EXPECT_FALSE(in.ReadU8(byte));
    EXPECT_FALSE(in.Seek(6));
    EXPECT_FALSE(in.Skip(1));
}

TEST(ByteReader, SignedAndFloatValuesAreLittleEndian) {
    const uint8_t data[] = {0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x00, 0x80, 0x3F, 0x12, 0x34};
    CByteReader in(data, sizeof data);
    int16_t s16 = 0;
    int32_t s32 = 0;
    float f = 0;
    uint16_t be = 0;
    ASSERT_TRUE(in.ReadI16LE(s16));
    EXPECT_EQ(s16, -2);
    ASSERT_TRUE(in.ReadI32LE(s32));
    EXPECT_EQ(s32, 0x7FFFFFFF);
    ASSERT_TRUE(in.ReadF32LE(f));
    EXPECT_EQ(f, 1.0f);
    ASSERT_TRUE(in.ReadU16BE(be));
    EXPECT_EQ(be, 0x1234);
    EXPECT_FALSE(in.ReadF32LE(f));
}

TEST(ByteReader, RecordCountsThatOverflowDoNotFit) {
    const uint8_t data[16] = {};
    CByteReader in(data, sizeof data);
    EXPECT_TRUE(in.Fits(4, 3, 4));
    EXPECT_FALSE(in.Fits(4, 4, 4));
    EXPECT_FALSE(in.Fits(17, 0, 1));
    // count * recordSize wraps around to a small number; it must still be refused.
    EXPECT_FALSE(in.Fits(0, std::numeric_limits<size_t>::max() / 2 + 1, 2));
}

TEST(ByteReader, EmptyBufferAllowsOnlyEmptyReads) {
    CByteReader in(nullptr, 0);
    uint8_t byte = 0;
    EXPECT_TRUE(in.ReadBytes(&byte, 0));
    EXPECT_FALSE(in.ReadBytes(&byte, 1));
    EXPECT_FALSE(in.ReadU8(byte));
}

TEST(ReadFileToMemory, ReadsTheWholeFileAndRefusesMissingOnes) {
    const std::string path = ::testing::TempDir() + "zarvo_byte_reader.bin";
    std::string content(100000, 'x');
    content[70000] = 'y';
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);
    std::vector<uint8_t> bytes = {1, 2, 3};
    ASSERT_TRUE(ReadFileToMemory(path.c_str(), bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), content);
    std::remove(path.c_str());
    EXPECT_FALSE(ReadFileToMemory(path.c_str(), bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(ReadFileToMemory(nullptr, bytes));
}
