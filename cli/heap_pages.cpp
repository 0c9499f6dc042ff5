#include "cli/heap_pages.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

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
    std::vector<void*> pieces;
    for (std::size_t grown = 0; grown < bytes; grown += kPiece)
        pieces.push_back(std::malloc(kPiece));
    for (void* p : pieces)
        std::free(p);
    const auto end = reinterpret_cast<std::uintptr_t>(sbrk(0));
    const std::uintptr_t from = (start + kLargePage - 1) & ~(kLargePage - 1);
    if (end > from) madvise(reinterpret_cast<void*>(from), end - from, MADV_HUGEPAGE);
}

} // namespace qvs
