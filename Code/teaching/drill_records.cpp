#include "drill_records.h"

#include <cstdio>
#include <cstring>

int DrillRecordIndex(int kind, int selector) {
  if (kind < 0 || kind > 7 || selector < 1 || selector > 5) return -1;
  return kind * 5 + selector - 1;
}

void ReadDrillRecords(const uint8_t* bytes, size_t size, DrillRecords* out) {
  uint8_t image[kDrillRecordsFileSize] = {};
  if (bytes) std::memcpy(image, bytes, size < sizeof image ? size : sizeof image);
  for (int i = 0; i < kDrillRecordEntries; ++i) {
    const uint8_t* e = image + i * kDrillRecordSize;
    DrillRecord& r = out->entries[i];
    std::memset(r.name, 0, sizeof r.name);
    for (size_t c = 0; c + 1 < kDrillRecordNameSize && e[c]; ++c) r.name[c] = static_cast<char>(e[c]);
    const uint8_t* t = e + kDrillRecordNameSize;
    r.seconds = t[0] | (t[1] << 8) | (t[2] << 16) | (static_cast<uint32_t>(t[3]) << 24);
  }
}

void WriteDrillRecords(const DrillRecords& records, uint8_t out[kDrillRecordsFileSize]) {
  std::memset(out, 0, kDrillRecordsFileSize);
  for (int i = 0; i < kDrillRecordEntries; ++i) {
    uint8_t* e = out + i * kDrillRecordSize;
    const DrillRecord& r = records.entries[i];
    for (size_t c = 0; c + 1 < kDrillRecordNameSize && r.name[c]; ++c) e[c] = static_cast<uint8_t>(r.name[c]);
    uint8_t* t = e + kDrillRecordNameSize;
    for (int b = 0; b < 4; ++b) t[b] = static_cast<uint8_t>(r.seconds >> (8 * b));
  }
}

bool ApplyDrillRecord(DrillRecords* records, int kind, int selector, const char* user, uint32_t seconds) {
  const int index = DrillRecordIndex(kind, selector);
  if (index < 0 || !records) return false;
  DrillRecord& r = records->entries[index];
  if (r.seconds != 0 && r.seconds <= seconds) return false;
  std::snprintf(r.name, sizeof r.name, "%s", user ? user : "");
  r.seconds = seconds;
  return true;
}

void DrillClock::Stop(uint32_t now) {
  if (stopped) return;
  stopped = true;
  stoppedTick = now;
}

void DrillClock::Resume(uint32_t now) {
  if (!stopped) return;
  stopped = false;
  startTick += now - stoppedTick;
}

uint32_t DrillClock::ElapsedMs(uint32_t now) const {
  const uint32_t at = stopped ? stoppedTick : now;
  return at - startTick + penaltyMs;
}

std::string FormatDrillTime(uint32_t seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%u:%02u", seconds / 60, seconds % 60);
  return text;
}

std::string FormatDrillResult(const char* finalTime, uint32_t seconds, int errors, bool newRecord,
                              const char* newRecordText) {
  std::string text = std::string(finalTime) + ": " + FormatDrillTime(seconds);
  if (errors > 0) text += " -- " + std::to_string(errors) + " error(s)";
  if (newRecord) text += std::string("\r\n") + newRecordText;
  return text;
}

DrillOutcome FinishDrill(const DrillClock& clock, uint32_t now, DrillRecords* records, int kind, int selector,
                         const char* user, const char* finalTimeText, const char* newRecordText) {
  DrillOutcome out{clock.complete, 0, false, ""};
  if (!clock.complete) return out;
  out.seconds = clock.FinalSeconds(now);
  out.newRecord = ApplyDrillRecord(records, kind, selector, user, out.seconds);
  out.message = FormatDrillResult(finalTimeText, out.seconds, clock.Errors(), out.newRecord, newRecordText);
  return out;
}
