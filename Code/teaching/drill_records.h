// "Drills.rec", the best drill times, and the arithmetic of a drill run's
// clock and result.
//
// Interface: DrillRecordIndex, ReadDrillRecords, WriteDrillRecords,
// ApplyDrillRecord, DrillClock (Stop, Resume, AddError, Skip, ElapsedMs,
// FinalSeconds), FinishDrill, FormatDrillTime, FormatDrillResult.
//
// The file is 40 entries of 36 bytes and nothing else: entry kind * 5 +
// selector - 1 holds the holder's name (32 bytes, NUL-terminated) and the
// best time in whole seconds (u32 little-endian; 0 = no record).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr size_t kDrillRecordsFileSize = 1440;
constexpr int kDrillRecordEntries = 40;
constexpr size_t kDrillRecordSize = 36;
constexpr size_t kDrillRecordNameSize = 32;
constexpr uint32_t kDrillErrorPenaltyMs = 10000;

struct DrillRecord {
  char name[kDrillRecordNameSize];  // always NUL-terminated in memory
  uint32_t seconds;
};

struct DrillRecords {
  DrillRecord entries[kDrillRecordEntries];
};

// The entry of a kind (0..7) and selector (1..5), or -1.
int DrillRecordIndex(int kind, int selector);
// Reads the file image; bytes past `size` read as zeros, and a name without
// its NUL is cut at 31 characters (it never runs into the time).
void ReadDrillRecords(const uint8_t* bytes, size_t size, DrillRecords* out);
void WriteDrillRecords(const DrillRecords& records, uint8_t out[kDrillRecordsFileSize]);
// A finished run's time against the standing record: a new record replaces
// an empty entry or a strictly slower one (a tie keeps the older holder).
// The holder's name is cut to 31 characters. True when the record is new.
bool ApplyDrillRecord(DrillRecords* records, int kind, int selector, const char* user, uint32_t seconds);

// The run's clock: it runs from the start tick, stops while a position is
// awaited (that span is not counted), and each wrong move adds ten seconds.
struct DrillClock {
  uint32_t startTick = 0;
  uint32_t penaltyMs = 0;
  uint32_t stoppedTick = 0;
  bool stopped = false;
  bool complete = true;  // the run may still set a record

  void Start(uint32_t now) {
    startTick = now;
    penaltyMs = 0;
    stopped = false;
    complete = true;
  }
  void Stop(uint32_t now);
  void Resume(uint32_t now);
  void AddError() { penaltyMs += kDrillErrorPenaltyMs; }
  void Skip() { complete = false; }
  uint32_t ElapsedMs(uint32_t now) const;
  uint32_t FinalSeconds(uint32_t now) const { return ElapsedMs(now) / 1000; }
  int Errors() const { return static_cast<int>(penaltyMs / kDrillErrorPenaltyMs); }
};

// "m:ss".
std::string FormatDrillTime(uint32_t seconds);
// "<finalTime>: m:ss", then " -- N error(s)" when there were errors, then
// "\r\n<newRecord>" when the run set a record.
std::string FormatDrillResult(const char* finalTime, uint32_t seconds, int errors, bool newRecord,
                              const char* newRecordText);

// The end of a run. A complete run (no Skip, no Cancel) gets its final time,
// is held against the record of its kind and selector, and gets the result
// message; a run that is not complete gets nothing (empty message).
struct DrillOutcome {
  bool complete;
  uint32_t seconds;
  bool newRecord;
  std::string message;
};
DrillOutcome FinishDrill(const DrillClock& clock, uint32_t now, DrillRecords* records, int kind, int selector,
                         const char* user, const char* finalTimeText, const char* newRecordText);
