// The C++ allocation functions on the process heap, which every Windows has
// from the first Windows 95 on. GCC takes plain new never to return null, so
// a failed allocation ends the program here.
#include <windows.h>

#include <cstddef>
#include <new>

#include "platform/win32/runtime/out_of_memory.h"

namespace {

void* Allocate(std::size_t size) noexcept {
  // new of zero bytes must still give a distinct pointer.
  return ::HeapAlloc(::GetProcessHeap(), 0, size != 0 ? size : 1);
}

void* AllocateOrEnd(std::size_t size) {
  void* block = Allocate(size);
  if (block == nullptr) platform::OutOfMemory();
  return block;
}

void Release(void* block) noexcept {
  // HeapFree leaves null undefined; delete of null must do nothing.
  if (block != nullptr) ::HeapFree(::GetProcessHeap(), 0, block);
}

}  // namespace

namespace std {
// The tag of the nothrow forms (std::get_temporary_buffer passes it), which
// libsupc++ would define.
const nothrow_t nothrow{};
}  // namespace std

void* operator new(std::size_t size) { return AllocateOrEnd(size); }
void* operator new[](std::size_t size) { return AllocateOrEnd(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }

void operator delete(void* block) noexcept { Release(block); }
void operator delete[](void* block) noexcept { Release(block); }
void operator delete(void* block, std::size_t) noexcept { Release(block); }
void operator delete[](void* block, std::size_t) noexcept { Release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { Release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { Release(block); }
