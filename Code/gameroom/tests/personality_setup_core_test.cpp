// The personality set-up dialog's rules without windows: typed names, the
// numbered copy of a shipped personality, loading, the saved record and the
// slider and edit conversions.
#include "personality_setup_core.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

TEST(PersonalitySetup, TypedNames) {
  EXPECT_EQ(TrimPersonalityName("  \x7F Ann Lee \t\xE9"), "Ann Lee");
  EXPECT_EQ(TrimPersonalityName(" \t "), "");
  for (const char* bad : {"", "a\\b", "a/b", "c:x", "a*", "what?", "say\"hi\"", "<x>", "a|b", "..", "x..y"})
    EXPECT_FALSE(IsValidPersonalityFileName(bad)) << bad;
  for (const char* good : {"Ann", "Caspian Vell#0", "Tarn - Age 12", "A.B"})
    EXPECT_TRUE(IsValidPersonalityFileName(good)) << good;

  std::set<std::string> files = {"Caspian Vell.RWP"};
  auto exists = [&](const std::string& f) { return files.count(f) != 0; };
  EXPECT_EQ(NumberedPersonalityName("Caspian Vell", exists), "Caspian Vell#0");
  files.insert("Caspian Vell#0.RWP");
  EXPECT_EQ(NumberedPersonalityName("Caspian Vell", exists), "Caspian Vell#1");
  EXPECT_EQ(NumberedPersonalityName("x", [](const std::string&) { return true; }), "");

  EXPECT_EQ(SetupLoadName("ZRookwell"), "Rookwell");
  EXPECT_EQ(SetupLoadName("9Ann"), "Ann");
  EXPECT_EQ(SetupLoadName("Ann"), "Ann");
  EXPECT_EQ(SetupLoadName(std::string(261, 'a')), "");
}

TEST(PersonalitySetup, OnlyAWholeRecordLoads) {
  PersonalityRecord record{};
  SetNewPersonalityDefaults(&record);
  record.kind = kFictionalPersonality;
  record.rating = 1750;
  std::vector<uint8_t> bytes(kPersonalityFileSize);
  WritePersonalityBytes(record, bytes.data());
  PersonalityRecord out{};
  ASSERT_TRUE(LoadSetupRecord(bytes, &out));
  EXPECT_EQ(out.rating, 1750);

  PersonalityRecord defaults{};
  SetNewPersonalityDefaults(&defaults);
  for (size_t size : {size_t(0), kPersonalityFileSize - 1, kPersonalityFileSize + 1}) {
    std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + std::min(size, bytes.size()));
    cut.resize(size);
    std::memset(&out, 0x5A, sizeof out);  // what the record held before
    EXPECT_FALSE(LoadSetupRecord(cut, &out)) << size;
    EXPECT_EQ(out.rating, defaults.rating) << "nothing stale is left, " << size;
    EXPECT_EQ(out.kind, defaults.kind) << size;
  }
  bytes[36] = 7;  // version
  EXPECT_FALSE(LoadSetupRecord(bytes, &out));
}

TEST(PersonalitySetup, SavedRecordByKind) {
  PersonalityRecord w{};
  SetNewPersonalityDefaults(&w);
  w.rating = 2100;
  w.sex = 1;
  w.ageGroups = kAge25to40;
  w.parameters[kParamRandomness] = 77;
  std::strcpy(w.picture, "Caspian.BMP");
  std::strcpy(w.biography, "A life of gambits.");
  std::strcpy(w.caption, "GM");
  std::strcpy(w.enginePath, "C:\\fmax.exe");
  std::strcpy(w.book, "Gambits.obk");
  struct Case {
    uint32_t kind;
    const char* picture;
    bool texts, engine;
  } cases[] = {{kCustomPersonality, "User.BMP", false, false},
               {kXboardEnginePersonality, "Winboard.BMP", false, true},
               {kFictionalPersonality, "Caspian.BMP", true, false}};
  for (const Case& c : cases) {
    w.kind = c.kind;
    uint8_t bytes[kPersonalityFileSize];
    BuildSavedPersonality(w, bytes);
    PersonalityRecord r{};
    ASSERT_TRUE(ReadPersonalityBytes(bytes, sizeof bytes, &r));
    EXPECT_EQ(r.kind, c.kind);
    EXPECT_STREQ(r.picture, c.picture);
    EXPECT_EQ(r.rating, 0);
    EXPECT_EQ(r.sex, 0u);
    EXPECT_EQ(r.ageGroups, 0u);
    EXPECT_STREQ(r.caption, "");
    EXPECT_STREQ(r.biography, c.texts ? "A life of gambits." : "");
    EXPECT_STREQ(r.enginePath, c.engine ? "C:\\fmax.exe" : "");
    EXPECT_EQ(r.parameters[kParamRandomness], 77);
    EXPECT_STREQ(r.book, "Gambits.obk");
    EXPECT_EQ(std::memcmp(r.signature, kPersonalitySignature, 32), 0);
  }
}

TEST(PersonalitySetup, SlidersAndEdits) {
  const PersonalityParameterInfo& contempt = kPersonalityParameters[kParamContempt];
  int32_t tenths = 0;
  ASSERT_TRUE(ParseTenthsEdit("2.5", &tenths));
  EXPECT_EQ(tenths, 25);  // slider 25, stored 250
  EXPECT_EQ(ContemptSliderPosition(250, contempt.min / 10, contempt.max / 10), 25);
  EXPECT_EQ(ContemptSliderPosition(-15, -100, 100), -1) << "toward zero";
  EXPECT_EQ(ContemptSliderPosition(5000, -100, 100), 100);
  ASSERT_TRUE(ParseTenthsEdit("-1.2", &tenths));
  EXPECT_EQ(tenths, -12);
  ASSERT_TRUE(ParseTenthsEdit("0.3", &tenths));
  EXPECT_EQ(tenths, 3);
  EXPECT_FALSE(ParseTenthsEdit("abc", &tenths));
  EXPECT_EQ(TenthsText(25), "2.5");
  EXPECT_EQ(TenthsText(-12), "-1.2");
  EXPECT_EQ(TenthsText(-5), "-0.5");
  EXPECT_EQ(TenthsText(150), "15.0");

  struct Case {
    const char* text;
    int32_t expected;
    bool corrected;
  } cases[] = {{"x", 100, true}, {"50", 50, false}, {"250", 100, true}, {"-7", 0, true},
               {"1234", 100, true}, {"", 0, false}, {"7z", 7, false}};
  for (const Case& c : cases) {
    bool corrected = false;
    EXPECT_EQ(ParseSliderEdit(c.text, 0, 100, &corrected), c.expected) << c.text;
    EXPECT_EQ(corrected, c.corrected) << c.text;
  }

  EXPECT_EQ(TranspositionMaximum(64ull << 20), 7);
  EXPECT_EQ(TranspositionLabel(7, "None"), "32 MB");
  EXPECT_EQ(TranspositionMaximum(32ull << 20), 0);
  EXPECT_EQ(TranspositionLabel(0, "None"), "None");
  EXPECT_EQ(TranspositionLabel(1, "None"), "512 KB");
  EXPECT_EQ(TranspositionMaximum(8ull << 30), 10);
  EXPECT_EQ(TranspositionMaximum((32ull << 20) + (1 << 19)), 1);
}

TEST(PersonalitySetup, XboardImportRecordAndChecks) {
  uint8_t bytes[kPersonalityFileSize];
  BuildXboardPersonality(false, "Gambits.obk", "C:\\Engines\\fmax.exe", "-x 1", bytes);
  PersonalityRecord r{};
  ASSERT_TRUE(ReadPersonalityBytes(bytes, sizeof bytes, &r));
  EXPECT_EQ(r.kind, uint32_t(kXboardEnginePersonality));
  EXPECT_EQ(r.parameters[kParamBookUse], 0);
  EXPECT_STREQ(r.book, "");
  EXPECT_STREQ(r.picture, "Winboard.BMP");
  EXPECT_STREQ(r.enginePath, "C:\\Engines\\fmax.exe");
  EXPECT_STREQ(r.engineParameters, "-x 1");
  EXPECT_EQ(r.hashIndex, 0u);
  EXPECT_EQ(r.rating, 0);
  for (int i = 0; i < kPersonalityParameterCount; ++i) EXPECT_EQ(r.parameters[i], 0) << i;
  BuildXboardPersonality(true, "", "fmax.exe", "", bytes);
  ASSERT_TRUE(ReadPersonalityBytes(bytes, sizeof bytes, &r));
  EXPECT_EQ(r.parameters[kParamBookUse], 99);
  EXPECT_STREQ(r.book, "RWONYX.OBK");

  EXPECT_EQ(CheckXboardImport("", "fmax.exe"), 10134);
  EXPECT_EQ(CheckXboardImport("..\\x", "fmax.exe"), 279);
  EXPECT_EQ(CheckXboardImport("Fairy", ""), 10135);
  EXPECT_EQ(CheckXboardImport("Fairy", "fmax.exe"), 0);
  EXPECT_TRUE(IsShippedPersonalityKind(kGrandmasterPersonality));
  EXPECT_TRUE(IsShippedPersonalityKind(kFictionalPersonality));
  EXPECT_FALSE(IsShippedPersonalityKind(kCustomPersonality));
}
