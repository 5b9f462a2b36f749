#pragma once

#include <cstdint>
#include <cstring>

// The layout both sides of the binary form agree on: an eight-byte header, the objects, their
// offset table, and a 32-byte trailer; numbers are big-endian.
namespace plist::binary {

constexpr std::uint64_t headerSize = 8;
constexpr std::uint64_t trailerSize = 32;

template <class T> T load(const unsigned char* p) {
    T value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

inline std::uint64_t readBigEndian(const unsigned char* p, unsigned size) {
    switch (size) {
    case 1:
        return p[0];
    case 2:
        return __builtin_bswap16(load<std::uint16_t>(p));
    case 4:
        return __builtin_bswap32(load<std::uint32_t>(p));
    case 8:
        return __builtin_bswap64(load<std::uint64_t>(p));
    default: {
        std::uint64_t value = 0;
        for (unsigned i = 0; i < size; ++i)
            value = (value << 8) | p[i];
        return value;
    }
    }
}

} // namespace plist::binary
