// The print job's defaults, the language rule and the device-names block.
#include <gtest/gtest.h>

#include "device_names.h"
#include "print_job.h"

namespace {

TEST(PrintJob, LanguageGivesTheBackgroundId) {
  struct Case {
    const char* setting;
    int32_t id;
  } cases[] = {
      {"deutsch", 406}, {"German", 406}, {"FRAN\xC7" "AIS", 405}, {"fran\xE7" "ais", 405}, {"Francais", 405},
      {"FRENCH", 405},  {"english", 404}, {"", 404},              {"deutschland", 404},
  };
  for (const Case& c : cases) EXPECT_EQ(DefaultBackgroundId(LanguageFromSetting(c.setting)), c.id) << c.setting;
}

TEST(PrintJob, Defaults) {
  PrintJob job;
  EXPECT_EQ(job.faceName, "RookwellOnyx");
  EXPECT_EQ(job.fontSize, 12);
  EXPECT_EQ(job.columnSep, 50);
  EXPECT_EQ(job.certTitleFontSize, 56);
  EXPECT_EQ(job.certValues[2], "Whats His Name");
  EXPECT_EQ(job.certValues[8], "August 14, 1995");
  EXPECT_EQ(job.certValues[11], "0");
  EXPECT_EQ(job.marginLeft + job.marginTop + job.marginRight + job.marginBottom, 400);
}

TEST(PrintJob, MarkupIsReplacedOrAppended) {
  PrintJob job;
  job.SetMarkup("one", true);
  job.SetMarkup(" two", false);
  EXPECT_EQ(job.markup, "one two");
  EXPECT_EQ(std::string(job.working.begin(), job.working.end()), "one two");
  job.SetMarkup("", true);
  EXPECT_TRUE(job.working.empty());
}

TEST(DeviceNames, OffsetsAndNames) {
  const std::vector<uint8_t> block = BuildDeviceNames("PDF", "winspool", "CUPS:PDF");
  ASSERT_EQ(block.size(), 30u);
  EXPECT_EQ(block[0] | block[1] << 8, 8);
  EXPECT_EQ(block[2] | block[3] << 8, 17);
  EXPECT_EQ(block[4] | block[5] << 8, 21);
  EXPECT_EQ(block[6] | block[7] << 8, 0);
  EXPECT_STREQ(reinterpret_cast<const char*>(&block[8]), "winspool");
  EXPECT_STREQ(reinterpret_cast<const char*>(&block[17]), "PDF");
  EXPECT_STREQ(reinterpret_cast<const char*>(&block[21]), "CUPS:PDF");
}

TEST(DeviceNames, PrinterNameOfTheDeviceEntry) {
  EXPECT_EQ(DeviceEntryPrinterName("PDF,winspool,CUPS:PDF"), "PDF");
  EXPECT_EQ(DeviceEntryPrinterName(""), "");
  const std::string longName(300, 'p');
  EXPECT_EQ(DeviceEntryPrinterName(longName + ",winspool,x"), longName);
}

}  // namespace
