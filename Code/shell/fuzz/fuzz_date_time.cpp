// Date-time text comes from files: any bytes must read and add without
// fault, and the sum must stay inside the buffer it was given.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

#include "date_time.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first 13 bytes choose the amounts and the buffer's size.
  int32_t amounts[3] = {0, 0, 0};
  uint8_t room = 0;
  if (size >= 13) {
    std::memcpy(amounts, data, sizeof amounts);
    room = data[12];
    data += 13;
    size -= 13;
  }
  std::vector<char> text(data, data + size);
  text.push_back('\0');
  std::tm fields{};
  ParseDateTimeText(text.data(), &fields);
  SecondsBetween(text.data(), "01/01/100 00:00:00");
  // The buffer holds the text and `room` bytes more; the tail is guarded.
  const size_t bufferSize = text.size() + room;
  std::vector<char> buffer(bufferSize + 8, '#');
  std::memcpy(buffer.data(), text.data(), text.size());
  if (AddToDateTimeText(buffer.data(), bufferSize, amounts[0], amounts[1], amounts[2]) == 0) {
    if (std::memchr(buffer.data(), '\0', bufferSize) == nullptr) __builtin_trap();
    // What it wrote reads back as a valid date and time. (Not always in the
    // same room: a year below 97, from a text without one, reads back as
    // 100 more and may gain a digit.)
    char again[kDateTimeTextSize];
    std::snprintf(again, sizeof again, "%s", buffer.data());
    if (AddToDateTimeText(again, sizeof again, 0, 0, 0) != 0) __builtin_trap();
  }
  for (size_t i = bufferSize; i < buffer.size(); ++i)
    if (buffer[i] != '#') __builtin_trap();
  return 0;
}
