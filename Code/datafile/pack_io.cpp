// Files held in memory.
#include "pack_io.h"

#include <cstring>

namespace packfile {

bool MemoryFile::Seek(uint64_t position) {
  if (position > size_) return false;
  position_ = static_cast<size_t>(position);
  return true;
}

size_t MemoryFile::Read(void* buffer, size_t count) {
  size_t n = count < size_ - position_ ? count : size_ - position_;
  if (n > 0) std::memcpy(buffer, data_ + position_, n);
  position_ += n;
  return n;
}

}  // namespace packfile
