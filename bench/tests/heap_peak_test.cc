#include "bench/heap_peak.h"

#include <gtest/gtest.h>

#include <cstddef>

namespace bench {
namespace {

// Escapes each block so that the compiler cannot leave out the allocation.
char* volatile sink = nullptr;

char* Take(size_t size) {
  char* block = new char[size];
  sink = block;
  return block;
}

TEST(HeapPeakTest, CountsBlocksTakenWhileItLives) {
  HeapPeak heap;
  char* block = Take(100000);
  EXPECT_GE(heap.peak(), 100000u);
  EXPECT_GE(heap.current(), 100000);
  delete[] block;
  EXPECT_EQ(heap.current(), 0);
  EXPECT_GE(heap.peak(), 100000u);
}

TEST(HeapPeakTest, PeakIsTheMostHeldAtOnceNotTheSum) {
  HeapPeak heap;
  for (int i = 0; i < 3; ++i) delete[] Take(100000);
  EXPECT_GE(heap.peak(), 100000u);
  EXPECT_LT(heap.peak(), 200000u);
  char* first = Take(100000);
  char* second = Take(100000);
  EXPECT_GE(heap.peak(), 200000u);
  delete[] first;
  delete[] second;
}

TEST(HeapPeakTest, BlocksFromBeforeDoNotCount) {
  char* old = Take(100000);
  HeapPeak heap;
  EXPECT_EQ(heap.peak(), 0u);
  delete[] old;
  EXPECT_LE(heap.current(), -100000);
  EXPECT_EQ(heap.peak(), 0u);
}

}  // namespace
}  // namespace bench
