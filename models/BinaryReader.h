#pragma once
// Bounds-checked little-endian reading from a memory buffer, shared by the model
// loaders. Every read checks the remaining length first; a failed read leaves the
// position unchanged and returns false, so a loader can stop at its first problem.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

class CBinaryReader {
public:
    CBinaryReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    size_t Size() const { return m_size; }
    size_t Position() const { return m_pos; }
    size_t Remaining() const { return m_size - m_pos; }
    const uint8_t* Current() const { return m_data + m_pos; }

    bool Seek(size_t offset) {
        if (offset > m_size) return false;
        m_pos = offset;
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
        if (recordSize != 0 && count > (m_size - offset) / recordSize) return false;
        return true;
    }

    bool ReadBytes(void* out, size_t count) {
        if (count > Remaining()) return false;
        if (count) std::memcpy(out, m_data + m_pos, count);
        m_pos += count;
        return true;
    }
    bool ReadU8(uint8_t& v) { return ReadBytes(&v, 1); }
    bool ReadU16(uint16_t& v) {
        uint8_t b[2];
        if (!ReadBytes(b, 2)) return false;
        v = uint16_t(b[0] | (b[1] << 8));
        return true;
    }
    bool ReadI16(int16_t& v) {
        uint16_t u;
        if (!ReadU16(u)) return false;
        v = int16_t(u);
        return true;
    }
    bool ReadU32(uint32_t& v) {
        uint8_t b[4];
        if (!ReadBytes(b, 4)) return false;
        v = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
        return true;
    }
    bool ReadI32(int32_t& v) {
        uint32_t u;
        if (!ReadU32(u)) return false;
        v = int32_t(u);
        return true;
    }
    bool ReadF32(float& v) {
        uint32_t u;
        if (!ReadU32(u)) return false;
        std::memcpy(&v, &u, 4);
        return true;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// Reads a whole file into memory; false when it cannot be opened or read.
bool ReadWholeFile(const char* path, std::vector<uint8_t>& out);
