// The <string.h> functions that GCC emits calls to for copies and
// initialisations, and that libstdc++'s char_traits call. Byte loops: the
// launcher moves short strings, and a loop is smallest. Built with
// -fno-tree-loop-distribute-patterns, or GCC would turn each loop back into
// a call to the function itself.
#include <cstddef>

extern "C" {

void* memcpy(void* destination, const void* source, std::size_t size) {
  auto* to = static_cast<unsigned char*>(destination);
  const auto* from = static_cast<const unsigned char*>(source);
  while (size-- != 0) *to++ = *from++;
  return destination;
}

void* memmove(void* destination, const void* source, std::size_t size) {
  auto* to = static_cast<unsigned char*>(destination);
  const auto* from = static_cast<const unsigned char*>(source);
  if (to <= from) {
    while (size-- != 0) *to++ = *from++;
  } else {
    // The destination starts inside the source: copy from the end, so that
    // no byte is overwritten before it is read.
    while (size != 0) {
      --size;
      to[size] = from[size];
    }
  }
  return destination;
}

void* memset(void* destination, int value, std::size_t size) {
  auto* to = static_cast<unsigned char*>(destination);
  while (size-- != 0) *to++ = static_cast<unsigned char>(value);
  return destination;
}

int memcmp(const void* left, const void* right, std::size_t size) {
  const auto* a = static_cast<const unsigned char*>(left);
  const auto* b = static_cast<const unsigned char*>(right);
  for (; size != 0; --size, ++a, ++b) {
    if (*a != *b) return *a < *b ? -1 : 1;
  }
  return 0;
}

void* memchr(const void* block, int value, std::size_t size) {
  const auto* at = static_cast<const unsigned char*>(block);
  const auto wanted = static_cast<unsigned char>(value);
  for (; size != 0; --size, ++at) {
    if (*at == wanted) return const_cast<unsigned char*>(at);
  }
  return nullptr;
}

std::size_t strlen(const char* text) {
  const char* end = text;
  while (*end != '\0') ++end;
  return static_cast<std::size_t>(end - text);
}

}  // extern "C"
