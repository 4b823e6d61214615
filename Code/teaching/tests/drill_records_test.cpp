// "Drills.rec" images, the record rule and the run's clock.
#include "drill_records.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

TEST(DrillRecordsFile, LayoutOfTheImage) {
  DrillRecords records{};
  ASSERT_TRUE(ApplyDrillRecord(&records, 3, 1, "Alice", 0x01020304));  // entry 15
  ASSERT_TRUE(ApplyDrillRecord(&records, 7, 5, "Bob", 75));            // entry 39, the last
  uint8_t image[kDrillRecordsFileSize];
  WriteDrillRecords(records, image);
  EXPECT_EQ(sizeof image, 1440u);
  EXPECT_EQ(0, std::memcmp(image + 15 * 36, "Alice\0", 6));
  const uint8_t time[4] = {4, 3, 2, 1};
  EXPECT_EQ(0, std::memcmp(image + 15 * 36 + 32, time, 4));
  EXPECT_EQ(0, std::memcmp(image + 39 * 36, "Bob\0", 4));
  EXPECT_EQ(image[39 * 36 + 32], 75);
  int nonZero = 0;
  for (uint8_t b : image) nonZero += b != 0;
  EXPECT_EQ(nonZero, 5 + 4 + 3 + 1);
  DrillRecords back;
  ReadDrillRecords(image, sizeof image, &back);
  EXPECT_EQ(0, std::memcmp(&back, &records, sizeof back));
  EXPECT_EQ(DrillRecordIndex(0, 1), 0);
  EXPECT_EQ(DrillRecordIndex(1, 1), 5);
  EXPECT_EQ(DrillRecordIndex(8, 1), -1);
  EXPECT_EQ(DrillRecordIndex(0, 6), -1);
}

TEST(DrillRecordsFile, ShortFilesAndNamesWithoutTheirEnd) {
  DrillRecords r;
  ReadDrillRecords(nullptr, 0, &r);
  for (const DrillRecord& e : r.entries) {
    EXPECT_EQ(e.name[0], 0);
    EXPECT_EQ(e.seconds, 0u);
  }
  // A file cut inside entry 1's time: the missing bytes read as zero.
  std::vector<uint8_t> image(kDrillRecordsFileSize, 0);
  std::memset(image.data(), 'x', 36);  // entry 0: no NUL, the name runs into the time
  image[36 + 32] = 0x10;
  image[36 + 33] = 0x20;
  ReadDrillRecords(image.data(), 36 + 33, &r);
  EXPECT_EQ(std::strlen(r.entries[0].name), 31u);
  EXPECT_EQ(r.entries[0].seconds, 0x78787878u);
  EXPECT_EQ(r.entries[1].seconds, 0x10u);
  // A long user name is cut to 31 characters with its NUL.
  DrillRecords fresh{};
  ApplyDrillRecord(&fresh, 0, 1, "A name much longer than thirty-one characters", 10);
  EXPECT_EQ(std::strlen(fresh.entries[0].name), 31u);
}

TEST(DrillRecordRule, TieKeepsTheOlderHolder) {
  const struct {
    uint32_t standing, run;
    bool replaces;
  } cases[] = {{0, 90, true}, {91, 90, true}, {90, 90, false}, {89, 90, false}};
  for (const auto& c : cases) {
    DrillRecords r{};
    std::strcpy(r.entries[2].name, "Old");
    r.entries[2].seconds = c.standing;
    EXPECT_EQ(ApplyDrillRecord(&r, 0, 3, "New", c.run), c.replaces) << c.standing;
    EXPECT_STREQ(r.entries[2].name, c.replaces ? "New" : "Old");
    EXPECT_EQ(r.entries[2].seconds, c.replaces ? c.run : c.standing);
  }
}

TEST(DrillRun, AwaitedTimeErrorsSkipAndTheMessage) {
  DrillClock clock;
  clock.Start(1000);
  clock.Stop(1000);    // waiting for the first position
  clock.Resume(6000);  // five seconds of waiting: not counted
  EXPECT_EQ(clock.ElapsedMs(36000), 30000u);
  clock.Stop(36000);
  EXPECT_EQ(clock.ElapsedMs(50000), 30000u);  // stopped: the clock stands
  clock.Stop(40000);                          // a second stop keeps the first tick
  clock.Resume(56000);
  EXPECT_EQ(clock.ElapsedMs(60000), 34000u);
  clock.AddError();
  EXPECT_EQ(clock.ElapsedMs(60000), 44000u);
  EXPECT_EQ(clock.Errors(), 1);

  DrillRecords records{};
  DrillOutcome first = FinishDrill(clock, 96000, &records, 3, 1, "Alice", "Final Time", "A New Record!");
  EXPECT_TRUE(first.newRecord);
  EXPECT_EQ(first.seconds, 80u);
  EXPECT_EQ(first.message, "Final Time: 1:20 -- 1 error(s)\r\nA New Record!");
  // The same time again keeps Alice; no errors, no error text.
  DrillClock again;
  again.Start(0);
  DrillOutcome second = FinishDrill(again, 80999, &records, 3, 1, "Bob", "Final Time", "A New Record!");
  EXPECT_FALSE(second.newRecord);
  EXPECT_EQ(second.message, "Final Time: 1:20");
  EXPECT_STREQ(records.entries[15].name, "Alice");
  // A skipped run sets nothing, however fast.
  DrillClock skipped;
  skipped.Start(0);
  skipped.Skip();
  DrillOutcome third = FinishDrill(skipped, 1000, &records, 3, 1, "Carol", "Final Time", "A New Record!");
  EXPECT_FALSE(third.complete);
  EXPECT_TRUE(third.message.empty());
  EXPECT_EQ(records.entries[15].seconds, 80u);
  EXPECT_EQ(FormatDrillTime(600), "10:00");
}

}  // namespace
