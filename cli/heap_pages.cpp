#include "cli/heap_pages.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

namespace qvs {

namespace {

constexpr std::size_t kLargePage = std::size_t{2} << 20;
// Blocks this large get pages of their own, as a data file's whole image
// does: read once and freed, it is best left in small pages, where it takes
// no more memory than its size.
constexpr std::size_t kOwnPagesFrom = std::size_t{4} << 20;
constexpr std::size_t kPiece = kOwnPagesFrom - 4096;

} // namespace

void BackHeapWithLargePages(std::size_t bytes) {
    // Kept, not given back at each free: the reserve must stay in place.
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(bytes * 2));
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(kOwnPagesFrom));
    const auto start = reinterpret_cast<std::uintptr_t>(sbrk(0));
    // On the stack: nothing else may be allocated among the pieces.
    std::array<void*, 64> pieces{};
    const std::size_t count = std::min(pieces.size(), (bytes + kPiece - 1) / kPiece);
    for (std::size_t i = 0; i < count; ++i)
        pieces[i] = std::malloc(kPiece);
    for (std::size_t i = 0; i < count; ++i)
        std::free(pieces[i]);
    const auto end = reinterpret_cast<std::uintptr_t>(sbrk(0));
    // Past the free space's own header, which the allocator keeps at its start.
    const std::uintptr_t from = (start + 4096 + kLargePage - 1) & ~(kLargePage - 1);
    if (end <= from) return;
    void* const region = reinterpret_cast<void*>(from);
    madvise(region, end - from, MADV_HUGEPAGE);
    // The pieces' headers, written before that and stale since they were
    // freed, would keep their spans in small pages: dropped, they come back
    // as large ones when first used.
    madvise(region, end - from, MADV_DONTNEED);
}

} // namespace qvs
