// The filter boxes through the shell's settings: the globals' fields, the
// current settings ini, and the defaults of a file without the section.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app_globals.h"
#include "personality_filter_settings.h"

namespace {

class FilterSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = (std::filesystem::current_path() / "filter_settings_root").string();
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_);
    // Natively the backslashes are part of file names.
    SetAppModulePath((root_ + "\\Rookwell.exe").c_str());
    ASSERT_EQ(CreateAppGlobals(), 1);
    ASSERT_TRUE(SetSettingsIniPath("alice.ini", 0));
    std::filesystem::remove(GetSettingsIniPath());
    std::ofstream(GetSettingsIniPath()) << "[settings]\nnotation=1\n";
  }
  void TearDown() override {
    FreeAppGlobals();
    SetAppModulePath(nullptr);
  }
  std::string Ini() const {
    std::ifstream in(GetSettingsIniPath());
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::string root_;
};

TEST_F(FilterSettings, MissingKeysTickEveryBoxAndTheTicksSurviveASaveAndLoad) {
  for (int32_t& f : GetAppGlobals()->settings->personalityFilters) f = 0;
  LoadPersonalityFilters();
  for (int32_t f : GetAppGlobals()->settings->personalityFilters) EXPECT_EQ(f, 1);

  PersonalityFilters f = CurrentPersonalityFilters();
  f.ticked[kFilterMale] = false;
  f.ticked[kFilter6to8] = false;
  f.ticked[kFilterBand0] = false;
  KeepPersonalityFilters(f);
  SavePersonalityFilters();
  const std::string text = Ini();
  EXPECT_NE(text.find("[Personality Filters]"), std::string::npos) << text;
  EXPECT_NE(text.find("Male=0"), std::string::npos) << text;
  EXPECT_NE(text.find("6 to 8=0"), std::string::npos) << text;
  EXPECT_NE(text.find("0 to 500=0"), std::string::npos) << text;
  EXPECT_NE(text.find("Female=1"), std::string::npos) << text;
  EXPECT_NE(text.find("notation=1"), std::string::npos) << "other sections stay";

  // Another session ticks everything; loading gives back the saved ticks.
  KeepPersonalityFilters(PersonalityFilters());
  LoadPersonalityFilters();
  const PersonalityFilters back = CurrentPersonalityFilters();
  for (int i = 0; i < kPersonalityFilterBoxes; ++i) EXPECT_EQ(back.ticked[i], f.ticked[i]) << kPersonalityFilterKeys[i];
}

TEST_F(FilterSettings, WithoutGlobalsTheTicksAreKeptAndNothingIsWritten) {
  FreeAppGlobals();
  PersonalityFilters f;
  f.ticked[kFilterGrandmasters] = false;
  KeepPersonalityFilters(f);
  EXPECT_FALSE(CurrentPersonalityFilters().ticked[kFilterGrandmasters]);
  SavePersonalityFilters();  // no settings file: nothing happens
  LoadPersonalityFilters();  // every key missing: every box ticked again
  EXPECT_TRUE(CurrentPersonalityFilters().ticked[kFilterGrandmasters]);
  ASSERT_EQ(CreateAppGlobals(), 1);
}

}  // namespace
