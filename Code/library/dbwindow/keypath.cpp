#include "keypath.h"

#include <algorithm>
#include <cstring>

#include "gdbase.h"

int32_t KeyParent(int32_t key) {
  // Key information: texts to byte 772, then the data block, whose fifth
  // 32-bit value is the parent key.
  int32_t info[816 / 4] = {};
  GdGetKeyInfo(key, info);
  return info[772 / 4 + 4];
}

bool KeyPathFromRoot(int32_t key, const std::function<int32_t(int32_t)>& parentOf,
                     std::vector<int32_t>* path) {
  path->clear();
  for (int steps = 0; key != 0; ++steps) {
    if (steps >= kMaxKeyPathSteps) {
      path->clear();
      return false;
    }
    path->push_back(key);
    key = parentOf(key);
  }
  std::reverse(path->begin(), path->end());
  return true;
}

void ListQuerySections(const char* names, size_t size, std::vector<std::string>* queries,
                       std::vector<std::string>* remove) {
  static const char kPrefix[] = "QUERY_";
  const size_t prefix = sizeof kPrefix - 1;
  size_t at = 0;
  while (at < size && names[at] != 0) {
    size_t end = at;
    while (end < size && names[end] != 0) ++end;
    std::string name(names + at, end - at);
    if (name.compare(0, prefix, kPrefix) == 0) {
      if (name.size() < kMaxQuerySectionName) {
        queries->push_back(name.substr(prefix));
      } else {
        remove->push_back(name);
      }
    }
    at = end + 1;
  }
}
