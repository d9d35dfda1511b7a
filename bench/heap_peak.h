#ifndef LAUNCHER_BENCH_HEAP_PEAK_H_
#define LAUNCHER_BENCH_HEAP_PEAK_H_

#include <cstddef>

namespace bench {

// Measures the heap that code takes while an object of this class lives:
// the highest number of bytes held at once through operator new beyond what
// was held when it was made. Counts the allocator's usable size of each
// block, so small blocks count a little more than asked. Only blocks taken
// and given back on the thread that made it count; one at a time per thread.
class HeapPeak {
 public:
  HeapPeak();
  ~HeapPeak();
  HeapPeak(const HeapPeak&) = delete;
  HeapPeak& operator=(const HeapPeak&) = delete;

  // The highest extra bytes held so far.
  size_t peak() const;
  // The extra bytes held now (negative when older blocks were freed).
  long long current() const;
};

}  // namespace bench

#endif  // LAUNCHER_BENCH_HEAP_PEAK_H_
