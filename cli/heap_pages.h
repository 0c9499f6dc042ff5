// Large pages under this process's heap, where the system offers them on
// request: reading a file of tens of thousands of entries otherwise spends
// as much time taking one page fault per 4 KiB as it spends reading.
#pragma once

#include <cstddef>

namespace qvs {

// Reserves bytes of heap at once and asks for large pages under them. Only
// what is touched becomes resident; without large pages it changes nothing.
void BackHeapWithLargePages(std::size_t bytes);

} // namespace qvs
