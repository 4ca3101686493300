#pragma once
// Views of bytes owned by someone else: reads outside a view give 0, writes outside it are
// dropped, so no field address can leave the buffer whatever the bytes say.
#include <cstddef>
#include <cstdint>

namespace qz {

// Bytes that are only read.
struct ConstByteView {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;

    bool bound() const { return data != nullptr; }
    // True when [offset, offset + length) lies inside the view.
    bool has(std::size_t offset, std::size_t length) const
    {
        return data && offset <= size && length <= size - offset;
    }
    // The bytes at offset when length of them lie inside, else nullptr.
    const std::uint8_t* at(std::size_t offset, std::size_t length) const
    {
        return has(offset, length) ? data + offset : nullptr;
    }
    std::uint8_t u8(std::size_t offset) const { return has(offset, 1) ? data[offset] : 0; }
    std::uint16_t u16(std::size_t offset) const
    {
        return has(offset, 2) ? std::uint16_t(data[offset] | (data[offset + 1] << 8)) : 0;
    }
    // At most length bytes from offset on; unbound when offset lies outside.
    ConstByteView part(std::size_t offset, std::size_t length = ~std::size_t(0)) const
    {
        if (!data || offset >= size)
            return {};
        const std::size_t rest = size - offset;
        return {data + offset, length < rest ? length : rest};
    }
};

// Bytes that are read and written.
struct ByteView {
    std::uint8_t* data = nullptr;
    std::size_t size = 0;

    operator ConstByteView() const { return {data, size}; }

    bool bound() const { return data != nullptr; }
    bool has(std::size_t offset, std::size_t length) const
    {
        return ConstByteView(*this).has(offset, length);
    }
    std::uint8_t* at(std::size_t offset, std::size_t length) const
    {
        return has(offset, length) ? data + offset : nullptr;
    }
    std::uint8_t u8(std::size_t offset) const { return ConstByteView(*this).u8(offset); }
    void setU8(std::size_t offset, std::uint8_t v) const
    {
        if (has(offset, 1))
            data[offset] = v;
    }
    std::uint16_t u16(std::size_t offset) const { return ConstByteView(*this).u16(offset); }
    void setU16(std::size_t offset, std::uint16_t v) const
    {
        if (has(offset, 2)) {
            data[offset] = std::uint8_t(v & 0xFF);
            data[offset + 1] = std::uint8_t(v >> 8);
        }
    }
    ByteView part(std::size_t offset, std::size_t length = ~std::size_t(0)) const
    {
        const ConstByteView p = ConstByteView(*this).part(offset, length);
        return {p.data ? data + offset : nullptr, p.size};
    }
};

} // namespace qz
