#pragma once
// A view of bytes owned by someone else: reads outside it give 0, writes outside it are
// dropped, so no field address can leave the buffer whatever the bytes say.
#include <cstddef>
#include <cstdint>

namespace qz {

struct ByteView {
    std::uint8_t* data = nullptr;
    std::size_t size = 0;

    bool bound() const { return data != nullptr; }
    // True when [offset, offset + length) lies inside the view.
    bool has(std::size_t offset, std::size_t length) const
    {
        return data && offset <= size && length <= size - offset;
    }
    // The bytes at offset when length of them lie inside, else nullptr.
    std::uint8_t* at(std::size_t offset, std::size_t length) const
    {
        return has(offset, length) ? data + offset : nullptr;
    }
    std::uint8_t u8(std::size_t offset) const { return has(offset, 1) ? data[offset] : 0; }
    void setU8(std::size_t offset, std::uint8_t v) const
    {
        if (has(offset, 1))
            data[offset] = v;
    }
    std::uint16_t u16(std::size_t offset) const
    {
        return has(offset, 2) ? std::uint16_t(data[offset] | (data[offset + 1] << 8)) : 0;
    }
    void setU16(std::size_t offset, std::uint16_t v) const
    {
        if (has(offset, 2)) {
            data[offset] = std::uint8_t(v & 0xFF);
            data[offset + 1] = std::uint8_t(v >> 8);
        }
    }
};

} // namespace qz
