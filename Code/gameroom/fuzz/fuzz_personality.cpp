// Fuzzes the personality file reader: any bytes either are refused or give
// a record whose texts end inside their fields and whose image reads back
// the same; its list entry, card and Info texts are made from it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "personality.h"
#include "personality_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PersonalityRecord r;
  if (!ReadPersonalityBytes(data, size, &r)) return 0;
  if (std::strlen(r.caption) >= sizeof r.caption || std::strlen(r.style) >= sizeof r.style) std::abort();
  uint8_t image[kPersonalityFileSize];
  WritePersonalityBytes(r, image);
  PersonalityRecord back;
  if (!ReadPersonalityBytes(image, sizeof image, &back)) std::abort();
  uint8_t again[kPersonalityFileSize];
  WritePersonalityBytes(back, again);
  if (std::memcmp(image, again, sizeof image) != 0) std::abort();
  (void)SpeedAdjustedRating(&r, 1000);
  (void)PersonalityHashBytes(&r);
  PersonalityListEntry entry = MakePersonalityListEntry(r, "Fuzzed.Name.RWP", 2000);
  PersonalityCardText card = MakePersonalityCardText(entry, "Rating");
  PersonalityInfoText info = MakePersonalityInfoText(&entry, "Rating");
  if (card.caption.size() > 29 || info.biography.size() > 999 || info.name != "Fuzzed.Name") std::abort();
  return 0;
}
