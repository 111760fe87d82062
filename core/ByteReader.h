#pragma once
// Bounds-checked reading from a file held in memory, shared by every reader of outside
// data (images, models). Each read checks the remaining length first; a failed read
// consumes nothing and returns false, so a reader can stop at its first problem.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

class CByteReader {
public:
    CByteReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    size_t Size() const { return m_size; }
    size_t Tell() const { return m_pos; }
    size_t Remaining() const { return m_size - m_pos; }
    const uint8_t* Data() const { return m_data; }
    const uint8_t* Current() const { return m_data + m_pos; }

    bool Seek(size_t pos) {
        if (pos > m_size) return false;
        m_pos = pos;
        return true;
    }
    bool Skip(size_t count) {
        if (count > Remaining()) return false;
        m_pos += count;
        return true;
    }
    // True when count records of recordSize bytes fit at offset (no overflow).
    bool Fits(size_t offset, size_t count, size_t recordSize) const {
        if (offset > m_size) return false;
        return recordSize == 0 || count <= (m_size - offset) / recordSize;
    }
    // The next `count` bytes, consumed, or null when the data ends first.
    const uint8_t* Take(size_t count) {
        if (count > Remaining()) return nullptr;
        const uint8_t* p = m_data + m_pos;
        m_pos += count;
        return p;
    }
    bool ReadBytes(void* dst, size_t count) {
        if (count > Remaining()) return false;
        if (count) std::memcpy(dst, m_data + m_pos, count);
        m_pos += count;
        return true;
    }

    bool ReadU8(uint8_t& v) {
        if (m_pos >= m_size) return false;
        v = m_data[m_pos++];
        return true;
    }
    bool ReadU16LE(uint16_t& v) {
        const uint8_t* p = Take(2);
        if (!p) return false;
        v = uint16_t(p[0] | (p[1] << 8));
        return true;
    }
    bool ReadU16BE(uint16_t& v) {
        const uint8_t* p = Take(2);
        if (!p) return false;
        v = uint16_t((p[0] << 8) | p[1]);
        return true;
    }
    bool ReadU32LE(uint32_t& v) {
        const uint8_t* p = Take(4);
        if (!p) return false;
        v = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) |
            (uint32_t(p[3]) << 24);
        return true;
    }
    bool ReadI16LE(int16_t& v) {
        uint16_t u;
        if (!ReadU16LE(u)) return false;
        v = int16_t(u);
        return true;
    }
    bool ReadI32LE(int32_t& v) {
        uint32_t u;
        if (!ReadU32LE(u)) return false;
        v = int32_t(u);
        return true;
    }
    bool ReadF32LE(float& v) {
        uint32_t u;
        if (!ReadU32LE(u)) return false;
        std::memcpy(&v, &u, 4);
        return true;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// Reads a whole file into memory; false when it cannot be opened or read.
bool ReadFileToMemory(const char* path, std::vector<uint8_t>& out);

// A whole file's bytes for a reader that only looks at them: mapped where the system
// maps files (no copy, no fresh pages to clear), read into memory elsewhere or when
// mapping fails. Invalid when the file cannot be opened or read.
class CFileBytes {
public:
    explicit CFileBytes(const char* path);
    ~CFileBytes();
    CFileBytes(const CFileBytes&) = delete;
    CFileBytes& operator=(const CFileBytes&) = delete;

    bool IsValid() const { return m_valid; }
    const uint8_t* Data() const { return m_mapped ? m_mapped : m_copy.data(); }
    size_t Size() const { return m_mapped ? m_mappedSize : m_copy.size(); }

private:
    bool m_valid = false;
    const uint8_t* m_mapped = nullptr;
    size_t m_mappedSize = 0;
    std::vector<uint8_t> m_copy;
};
