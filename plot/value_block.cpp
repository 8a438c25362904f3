#include "plot/value_block.h"

#include <cstring>
#include <new>

#include "platform/platform.h"

namespace rizari {

std::optional<ValueBlock> ValueBlock::allocate(std::size_t bytes) noexcept
{
    ValueBlock block;
    // Even an empty block has an address of its own, so that "no values" and "no points" differ.
    block.bytes_.reset(static_cast<unsigned char*>(platform::allocateBlock(bytes == 0 ? 1 : bytes)));
    if (!block.bytes_) return std::nullopt;
    block.size_ = bytes;
    return block;
}

ValueBlock::ValueBlock(const ValueBlock& other)
{
    auto block = allocate(other.size_);
    if (!block) throw std::bad_alloc();
    if (other.size_ > 0) std::memcpy(block->data(), other.data(), other.size_);
    *this = std::move(*block);
}


void ValueBlock::Release::operator()(unsigned char* p) const noexcept { platform::freeBlock(p); }

}  // namespace rizari
