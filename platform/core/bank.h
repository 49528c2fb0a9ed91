#pragma once
// TBank: a resizable block of bytes.

#include <cstdint>
#include <vector>

#include "platform/core/object.h"

namespace plat {

class TBank : public Object {
public:
    explicit TBank(int size = 0) : bytes_(static_cast<std::size_t>(size < 0 ? 0 : size), 0) {}
    int Size() const { return static_cast<int>(bytes_.size()); }
    void Resize(int size) { bytes_.resize(static_cast<std::size_t>(size < 0 ? 0 : size), 0); }
    std::uint8_t* Buf() { return bytes_.data(); }
    const std::uint8_t* Buf() const { return bytes_.data(); }
    std::vector<std::uint8_t>& Bytes() { return bytes_; }
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

inline Ref<TBank> CreateBank(int size = 0) { return New<TBank>(size); }

}  // namespace plat
