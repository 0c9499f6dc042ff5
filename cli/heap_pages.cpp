#include "cli/heap_pages.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

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
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(kOwnPagesFrom));
    // The heap grows by this much at once, and keeps it.
    mallopt(M_TOP_PAD, static_cast<int>(bytes));
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(bytes * 2));
    const auto start = reinterpret_cast<std::uintptr_t>(sbrk(0));
    // A block the heap as it stands cannot hold makes it grow now. Only the
    // block's edges are written, so what follows is still untouched when it
    // is marked; once touched, a span is in small pages for good.
    void* volatile block = std::malloc(kPiece); // volatile: not optimised away
    std::free(block);
    const auto end = reinterpret_cast<std::uintptr_t>(sbrk(0));
    const std::uintptr_t from = (start + kLargePage - 1) & ~(kLargePage - 1);
    // Advice only: should the heap not be where this reckons, nothing breaks.
    if (end > from) madvise(reinterpret_cast<void*>(from), end - from, MADV_HUGEPAGE);
}

} // namespace qvs
