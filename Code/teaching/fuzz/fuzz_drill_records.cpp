// "Drills.rec" reader: any bytes give 40 entries with NUL-terminated names
// of at most 31 characters, and the image written back reads the same.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "drill_records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DrillRecords records;
  ReadDrillRecords(data, size, &records);
  for (const DrillRecord& r : records.entries)
    if (std::memchr(r.name, 0, sizeof r.name) == nullptr || std::strlen(r.name) > 31) std::abort();
  uint8_t image[kDrillRecordsFileSize];
  WriteDrillRecords(records, image);
  DrillRecords back;
  ReadDrillRecords(image, sizeof image, &back);
  if (std::memcmp(&back, &records, sizeof back) != 0) std::abort();
  if (size >= 5)
    ApplyDrillRecord(&records, data[0] % 9, data[1] % 7, reinterpret_cast<const char*>(image), data[2]);
  return 0;
}
