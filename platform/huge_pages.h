// Transparent huge pages for large blocks of values, on POSIX systems (elsewhere nothing happens).
// The first touches of fresh memory dominate the filling of a large block, and one 2 MiB page
// costs far less than 512 small ones; kernels that give huge pages only where asked (the madvise
// mode) give them to blocks marked here.
#pragma once

#include <cstddef>
#include <cstdint>

#ifndef _WIN32
#include <sys/mman.h>
#endif

namespace rizari::platform {

inline constexpr std::size_t kHugePage = std::size_t{2} << 20;

// Asks for huge pages for the whole huge pages inside the block: a hint that changes nothing else.
inline void adviseHugePages([[maybe_unused]] void* block, [[maybe_unused]] std::size_t bytes) noexcept
{
#ifndef _WIN32
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t first = (start + kHugePage - 1) / kHugePage * kHugePage;
    const std::uintptr_t end = (start + bytes) / kHugePage * kHugePage;
    if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#endif
}

}  // namespace rizari::platform
