// A user's record file may be damaged or made by hand: any bytes must read
// without fault, and a record that reads must write back to the same bytes
// it was read from (up to the end of its second list).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "user_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  UserProfile profile{};
  if (DecodeUserFile(data, size, &profile)) {
    std::vector<uint8_t> again = EncodeUserFile(profile);
    if (again.size() > size) std::abort();
    // The name and description are cut at their last byte on reading.
    if (std::memcmp(again.data() + 544, data + 544, again.size() - 544) != 0) std::abort();
    FreeUserLists(&profile);
  } else if (profile.games || profile.games2 || profile.baseRating) {
    std::abort();
  }
  return 0;
}
