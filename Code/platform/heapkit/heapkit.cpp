// Heapkit stand-in over the C heap. Every block carries a small header with
// its size and tag in front of the bytes handed out; the header keeps the
// 16-byte alignment that malloc gives.
#include "heapkit.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

struct alignas(16) BlockHeader {
  size_t size;
  int tag;
  uint32_t magic;
};

constexpr uint32_t kLiveMagic = 0x4B504148;  // "HAPK"
constexpr uint32_t kFreedMagic = 0xDEADF4EE;

BlockHeader* HeaderOf(const void* block) {
  return reinterpret_cast<BlockHeader*>(const_cast<char*>(static_cast<const char*>(block)) -
                                        sizeof(BlockHeader));
}

// A double free or a foreign pointer is a programming fault: stop at once
// rather than corrupt the heap.
BlockHeader* CheckedHeader(const void* block) {
  BlockHeader* h = HeaderOf(block);
  if (h->magic != kLiveMagic) std::abort();
  return h;
}

}  // namespace

extern "C" {

void* memAlloc_rel(size_t size, int tag) {
  if (size > SIZE_MAX - sizeof(BlockHeader)) return nullptr;
  auto* h = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + size));
  if (!h) return nullptr;
  h->size = size;
  h->tag = tag;
  h->magic = kLiveMagic;
  return h + 1;
}

void memFree_rel(void* block) {
  if (!block) return;
  BlockHeader* h = CheckedHeader(block);
  h->magic = kFreedMagic;
  std::free(h);
}

char* memStrdup_rel(const char* text, int tag) {
  if (!text) return nullptr;
  size_t n = std::strlen(text) + 1;
  auto* copy = static_cast<char*>(memAlloc_rel(n, tag));
  if (copy) std::memcpy(copy, text, n);
  return copy;
}

size_t memSize_rel(const void* block) { return block ? CheckedHeader(block)->size : 0; }

void* memReAlloc_rel(void* block, size_t size, int tag) {
  if (!block) return memAlloc_rel(size, tag);
  CheckedHeader(block);
  if (size > SIZE_MAX - sizeof(BlockHeader)) return nullptr;
  auto* h = static_cast<BlockHeader*>(std::realloc(HeaderOf(block), sizeof(BlockHeader) + size));
  if (!h) return nullptr;
  h->size = size;
  h->tag = tag;
  return h + 1;
}

int memTag_rel(const void* block) { return block ? CheckedHeader(block)->tag : -1; }

}  // extern "C"
