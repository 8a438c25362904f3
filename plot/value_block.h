// The values of one data set: a single block of raw entries, taken from the system without being
// zero-filled and written once by whoever fills it. Large blocks are given back to the system
// when the block goes.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>

namespace rizari {

class ValueBlock {
public:
    // A block of `bytes` bytes with unspecified content; none when the memory cannot be had.
    static std::optional<ValueBlock> allocate(std::size_t bytes) noexcept;

    ValueBlock() = default;
    // A copy throws std::bad_alloc when the memory cannot be had.
    ValueBlock(const ValueBlock& other);
    ValueBlock& operator=(const ValueBlock& other) = delete;
    ValueBlock(ValueBlock&&) noexcept = default;
    ValueBlock& operator=(ValueBlock&&) noexcept = default;

    unsigned char* data() { return bytes_.get(); }
    const unsigned char* data() const { return bytes_.get(); }
    std::size_t size() const { return size_; }

private:
    struct Release {
        void operator()(unsigned char* p) const noexcept;
    };
    std::unique_ptr<unsigned char[], Release> bytes_;
    std::size_t size_ = 0;
};

}  // namespace rizari
