#include "bench/heap_peak.h"

#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <new>

namespace bench {
namespace {

// Per thread, so that no lock or atomic slows the code being measured.
thread_local bool tracking = false;
thread_local long long held = 0;
thread_local long long highest = 0;

}  // namespace

HeapPeak::HeapPeak() {
  held = 0;
  highest = 0;
  tracking = true;
}

HeapPeak::~HeapPeak() { tracking = false; }

size_t HeapPeak::peak() const { return static_cast<size_t>(highest); }

long long HeapPeak::current() const { return held; }

}  // namespace bench

// The program's allocator, counting while a HeapPeak lives. Every plain
// form is replaced, so that no runtime (a sanitizer's, say) takes a block
// this one does not count, or gives back one it did.
namespace {

void* Take(std::size_t size) noexcept {
  void* block = std::malloc(size > 0 ? size : 1);
  if (block != nullptr && bench::tracking) {
    bench::held += static_cast<long long>(malloc_usable_size(block));
    bench::highest = std::max(bench::highest, bench::held);
  }
  return block;
}

void Give(void* block) noexcept {
  if (block == nullptr) return;
  if (bench::tracking) bench::held -= static_cast<long long>(malloc_usable_size(block));
  std::free(block);
}

}  // namespace

void* operator new(std::size_t size) {
  if (void* block = Take(size)) return block;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Take(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Take(size); }
void operator delete(void* block) noexcept { Give(block); }
void operator delete[](void* block) noexcept { Give(block); }
void operator delete(void* block, std::size_t) noexcept { Give(block); }
void operator delete[](void* block, std::size_t) noexcept { Give(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { Give(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { Give(block); }
