// The personality list: entries, restrictions, sort, bands, filters,
// scrolling, texts and the settings keys.
#include "personality_list.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

PersonalityListEntry Entry(const char* name, uint32_t kind, int32_t rating, uint32_t sex = 1,
                           uint32_t ages = kAge25to40) {
  PersonalityListEntry e{};
  std::snprintf(e.name, sizeof e.name, "%s", name);
  e.kind = kind;
  e.rating = rating;
  e.sex = sex;
  e.ageGroups = ages;
  return e;
}

std::vector<std::string> Names(const std::vector<PersonalityListEntry>& list, const PersonalitySelection& s) {
  std::vector<std::string> names;
  for (int i : s.passing) names.push_back(list[i].name);
  return names;
}

}  // namespace

TEST(PersonalityList, EntriesFromRecords) {
  PersonalityRecord r;
  SetNewPersonalityDefaults(&r);
  r.kind = kFictionalPersonality;
  r.rating = 1250;
  r.referenceSpeed = 1000;
  r.parameters[kParamMaxDepth] = 99;
  std::snprintf(r.style, sizeof r.style, "%s", "A %d player, 100%% sure");
  struct {
    const char* file;
    uint32_t kind;
    const char* name;
    int32_t rating;
  } cases[] = {
      {"Mr. Quill.RWP", kFictionalPersonality, "Mr. Quill", 1285},
      {"Tarn - Age 12.RWP", kFictionalPersonality, "Tarn - Age 12", 1250},
      {"Grand.RWP", kGrandmasterPersonality, "Grand", 1285},
      {"Mine.RWP", kCustomPersonality, "Mine", 0},
      {"Engine.RWP", kXboardEnginePersonality, "Engine", 0},
  };
  for (auto c : cases) {
    r.kind = c.kind;
    PersonalityListEntry e = MakePersonalityListEntry(r, c.file, 2000);
    EXPECT_STREQ(e.name, c.name);
    EXPECT_EQ(e.rating, c.rating) << c.file;
  }
  // A name with a further dot comes back from the dialog with it.
  PersonalityListEntry quill = MakePersonalityListEntry(r, "Mr. Quill.RWP", 0);
  EXPECT_EQ(ChosenPersonalityName(quill.name), "Mr. Quill");
  EXPECT_EQ(ChosenPersonalityName("Plain"), "Plain");

  // The Info page shows the style with the rating, the rest as it stands.
  r.kind = kFictionalPersonality;
  PersonalityListEntry e = MakePersonalityListEntry(r, "Style.RWP", 0);
  PersonalityInfoText info = MakePersonalityInfoText(&e, "Rating");
  EXPECT_EQ(info.rating, "Rating: 1250");
  EXPECT_EQ(info.style, "A 1250 player, 100%% sure");
  PersonalityInfoText none = MakePersonalityInfoText(nullptr, "Rating");
  EXPECT_EQ(none.name + none.rating + none.biography + none.style, "");
  EXPECT_EQ(MakePersonalityCardText(Entry("Cus", kCustomPersonality, 0), "Rating").rating, "");
  EXPECT_EQ(MakePersonalityCardText(e, "Rating").rating, "Rating: 1250");
}

TEST(PersonalityList, RestrictionsAndSort) {
  std::vector<PersonalityListEntry> all = {
      Entry("GM", kGrandmasterPersonality, 2600), Entry("Fict", kFictionalPersonality, 1200),
      Entry("Cust", kCustomPersonality, 0), Entry("Eng", kXboardEnginePersonality, 0)};
  struct {
    PersonalityListRestrictions r;
    const char* listed;
  } cases[] = {
      {{}, "GM Fict Cust Eng "},
      {{true, false, false, 0}, "GM Fict "},
      {{false, true, false, 0}, "Fict "},
      {{false, false, true, 0}, "Eng "},
      {{false, false, false, 2000}, "Fict Cust Eng "},
  };
  for (auto& c : cases) {
    std::string listed;
    for (auto& e : all)
      if (IsPersonalityListed(e, c.r)) listed += std::string(e.name) + " ";
    EXPECT_EQ(listed, c.listed);
  }
  std::vector<PersonalityListEntry> list = {Entry("b", 179, 1000), Entry("a", 179, 1000),
                                            Entry("c", 179, 1500), Entry("\xC9", 179, 1000)};
  SortPersonalityList(&list);
  std::string order;
  for (auto& e : list) order += e.name;
  EXPECT_EQ(order, "cab\xC9");
}

TEST(PersonalityList, RatingBands) {
  struct {
    int32_t rating;
    int band;
  } cases[] = {{-20, 0},  {0, 0},    {498, 0},  {499, 0},  {500, 0},  {501, 1},  {1000, 1},
               {1001, 2}, {1500, 2}, {1501, 3}, {2000, 3}, {2001, 4}, {2400, 4}, {3000, 4}};
  for (auto c : cases) EXPECT_EQ(PersonalityRatingBand(c.rating), c.band) << c.rating;
}

TEST(PersonalityList, FiltersSelectionAndOk) {
  std::vector<PersonalityListEntry> list = {
      Entry("Grand", kGrandmasterPersonality, 2600, 1, kAgeOver40),
      Entry("Anna", kFictionalPersonality, 1500, 0, kAge19to24),
      Entry("Bo", kFictionalPersonality, 500, 1, kAge25to40),
      Entry("Barnaby - Age 7", kFictionalPersonality, 300, 1, kAge6to8),
      Entry("Tarn - Age 12", kFictionalPersonality, 501, 1, kAge12to14),
      Entry("Mine", kCustomPersonality, 0, 0, 0),
      Entry("Engine", kXboardEnginePersonality, 0, 0, 0),
  };
  PersonalityFilters all;
  PersonalitySelection s;
  FilterPersonalityList(list, all, false, false, &s);
  EXPECT_EQ(Names(list, s),
            (std::vector<std::string>{"Grand", "Anna", "Bo", "Tarn - Age 12", "Mine", "Engine"}));
  EXPECT_EQ(s.selected, 0);
  EXPECT_TRUE(s.okEnabled);
  EXPECT_EQ(s.scrollMax, 5);
  EXPECT_EQ(s.scrollPage, 4);

  // Sex, age and rating boxes pass custom and engine entries whatever they hold.
  PersonalityFilters f;
  for (int box : {kFilterMale, kFilterFemale, kFilter6to18, kFilter19to24, kFilter25to40, kFilterOver40,
                  kFilterBand0, kFilterBand1, kFilterBand2, kFilterBand3, kFilterBand4})
    f.ticked[box] = false;
  FilterPersonalityList(list, f, false, false, &s);
  EXPECT_EQ(Names(list, s), (std::vector<std::string>{"Mine", "Engine"}));
  EXPECT_EQ(s.selected, 5);

  // 500 falls under "0 - 500", 501 under "501 - 1000".
  PersonalityFilters bands;
  bands.ticked[kFilterBand1] = false;
  FilterPersonalityList(list, bands, false, false, &s);
  EXPECT_EQ(Names(list, s), (std::vector<std::string>{"Grand", "Anna", "Bo", "Mine", "Engine"}));

  // A selected entry that still passes stays and becomes the top card.
  s.selected = 2;
  FilterPersonalityList(list, all, false, false, &s);
  EXPECT_EQ(s.selected, 2);
  EXPECT_EQ(s.top, 2);

  // The kids room: the kid boxes, Barnaby only there.
  FilterPersonalityList(list, all, true, true, &s);
  EXPECT_EQ(Names(list, s), (std::vector<std::string>{"Barnaby - Age 7", "Tarn - Age 12", "Mine", "Engine"}));
  FilterPersonalityList(list, all, true, false, &s);
  EXPECT_EQ(Names(list, s), (std::vector<std::string>{"Tarn - Age 12", "Mine", "Engine"}));
  PersonalityFilters none;
  for (bool& t : none.ticked) t = false;
  FilterPersonalityList(list, none, false, false, &s);
  EXPECT_TRUE(s.passing.empty());
  EXPECT_EQ(s.selected, -1);
  EXPECT_FALSE(s.okEnabled);

  // Fewer than five in the whole list: no page, top 0.
  std::vector<PersonalityListEntry> few(list.begin(), list.begin() + 3);
  s.selected = 2;
  FilterPersonalityList(few, all, false, false, &s);
  EXPECT_EQ(s.top, 0);
  EXPECT_EQ(s.scrollPage, 0);
}

TEST(PersonalityList, CardsAndScrolling) {
  for (int card = 0; card < 4; ++card) EXPECT_EQ(PersonalityCardTop(card), 110 * card);
  EXPECT_EQ(kPersonalityCardWidth, 239);
  PersonalitySelection s;
  for (int i = 0; i < 10; ++i) s.passing.push_back(i);
  struct {
    int top;
    PersonalityScroll how;
    int position;
    int expected;
  } cases[] = {
      {0, kScrollLineUp, 0, 0},   {0, kScrollLineDown, 0, 1}, {5, kScrollPageDown, 0, 6},
      {6, kScrollLineDown, 0, 6}, {3, kScrollPageUp, 0, 0},   {0, kScrollTo, 4, 4},
      {0, kScrollTo, 40, 6},      {0, kScrollTo, -3, 0},
  };
  for (auto c : cases) {
    s.top = c.top;
    EXPECT_EQ(ScrollPersonalityCards(s, c.how, c.position), c.expected) << c.top << " " << c.how;
  }
}

TEST(PersonalityList, NineteenKeysSaveAndLoad) {
  std::map<std::string, std::string> ini;
  auto write = [&](const char* section, const char* key, const char* value) {
    ini[std::string(section) + "/" + key] = value;
  };
  auto read = [&](const char* section, const char* key, int fallback) {
    auto it = ini.find(std::string(section) + "/" + key);
    return it == ini.end() ? fallback : std::stoi(it->second);
  };
  PersonalityFilters loaded;
  for (bool& t : loaded.ticked) t = false;
  LoadPersonalityFilters(&loaded, read);
  for (bool t : loaded.ticked) EXPECT_TRUE(t) << "every key defaults to 1";

  PersonalityFilters f;
  f.ticked[kFilterFemale] = false;
  f.ticked[kFilterBand4] = false;
  SavePersonalityFilters(f, write);
  EXPECT_EQ(ini.size(), 19u);
  EXPECT_EQ(ini["Personality Filters/Female"], "0");
  EXPECT_EQ(ini["Personality Filters/Over 2000"], "0");
  EXPECT_EQ(ini["Personality Filters/Xboard Engines"], "1");
  LoadPersonalityFilters(&loaded, read);
  for (int i = 0; i < kPersonalityFilterBoxes; ++i) EXPECT_EQ(loaded.ticked[i], f.ticked[i]) << i;
}

TEST(PersonalityList, ReadsTheFolder) {
  namespace fs = std::filesystem;
  fs::path folder = fs::temp_directory_path() / "rw_personality_list_folder";
  fs::remove_all(folder);
  fs::create_directories(folder / "Folder.RWP");
  auto write = [&](const char* file, uint32_t kind, int32_t rating, size_t size) {
    PersonalityRecord r;
    SetNewPersonalityDefaults(&r);
    r.kind = kind;
    r.rating = rating;
    std::vector<uint8_t> image(kPersonalityFileSize);
    WritePersonalityBytes(r, image.data());
    image.resize(size);
    std::ofstream(folder / file, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), size);
  };
  write("Mr. Quill.RWP", kFictionalPersonality, 1200, kPersonalityFileSize);
  write("lower.rwp", kFictionalPersonality, 1500, kPersonalityFileSize);
  write("Short.RWP", kFictionalPersonality, 900, kPersonalityFileSize - 1);
  write("Custom.RWP", kCustomPersonality, 0, kPersonalityFileSize);
  write("Notes.txt", kFictionalPersonality, 100, kPersonalityFileSize);

  auto names = [](const std::vector<PersonalityListEntry>& list) {
    std::string text;
    for (auto& e : list) text += std::string(e.name) + ";";
    return text;
  };
  EXPECT_EQ(names(ReadPersonalityList(folder.string(), {}, 0)), "lower;Mr. Quill;Custom;");
  EXPECT_EQ(names(ReadPersonalityList(folder.string(), {false, true, false, 0}, 0)), "lower;Mr. Quill;");
  EXPECT_EQ(names(ReadPersonalityList(folder.string(), {false, false, false, 1300}, 0)), "Mr. Quill;Custom;");
  EXPECT_TRUE(ReadPersonalityList((folder / "missing").string(), {}, 0).empty());
  fs::remove_all(folder);
}
