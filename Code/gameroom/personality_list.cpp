// Personality list, filters and cards.
#include "personality_list.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

const char kPersonalityFilterSection[] = "Personality Filters";
const char* const kPersonalityFilterKeys[kPersonalityFilterBoxes] = {
    "GM",       "Fictional",   "Custom",       "Xboard Engines", "Male",     "Female",   "6 to 18",
    "19 to 24", "25 to 40",    "Over 40",      "6 to 8",         "9 to 11",  "12 to 14", "15 to 18",
    "0 to 500", "501 to 1000", "1001 to 1500", "1501 to 2000",   "Over 2000"};

namespace {
template <size_t N>
void CopyText(char (&to)[N], const char* from) {
  size_t n = strnlen(from, N - 1);
  std::memcpy(to, from, n);
  std::memset(to + n, 0, N - n);
}
}  // namespace

PersonalityListEntry MakePersonalityListEntry(const PersonalityRecord& r, const char* fileName,
                                              uint32_t benchmark) {
  PersonalityListEntry e{};
  std::string name = fileName ? fileName : "";
  size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.resize(dot);
  CopyText(e.name, name.c_str());
  e.kind = r.kind;
  if (r.kind == kGrandmasterPersonality || r.kind == kFictionalPersonality) {
    e.rating = std::strstr(e.name, " - Age ") ? r.rating : SpeedAdjustedRating(&r, benchmark);
  }
  e.sex = r.sex;
  e.ageGroups = r.ageGroups;
  CopyText(e.picture, r.picture);
  CopyText(e.caption, r.caption);
  CopyText(e.biography, r.biography);
  CopyText(e.style, r.style);
  return e;
}

bool IsPersonalityListed(const PersonalityListEntry& e, const PersonalityListRestrictions& r) {
  if (r.rated && (e.kind == kCustomPersonality || e.kind == kXboardEnginePersonality)) return false;
  if (r.kids && e.kind != kFictionalPersonality) return false;
  if (r.enginesOnly && e.kind != kXboardEnginePersonality) return false;
  if (r.ratingCap && e.rating > r.ratingCap) return false;
  return true;
}

std::vector<PersonalityListEntry> ReadPersonalityList(const std::string& folder,
                                                      const PersonalityListRestrictions& restrictions,
                                                      uint32_t benchmark) {
  namespace fs = std::filesystem;
  std::vector<PersonalityListEntry> list;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (list.size() >= kMaxListedPersonalities) break;
    std::error_code kindError;
    if (!it->is_regular_file(kindError)) continue;
    std::string file = it->path().filename().string();
    if (file.size() < 4) continue;
    std::string extension = file.substr(file.size() - 4);
    for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (extension != kPersonalityExtension) continue;
    std::ifstream in(it->path(), std::ios::binary);
    uint8_t image[kPersonalityFileSize];
    in.read(reinterpret_cast<char*>(image), sizeof image);
    PersonalityRecord record;
    if (in.gcount() != static_cast<std::streamsize>(sizeof image) ||
        !ReadPersonalityBytes(image, sizeof image, &record))
      continue;
    PersonalityListEntry entry = MakePersonalityListEntry(record, file.c_str(), benchmark);
    if (IsPersonalityListed(entry, restrictions)) list.push_back(entry);
  }
  SortPersonalityList(&list);
  return list;
}

void SortPersonalityList(std::vector<PersonalityListEntry>* list) {
  std::stable_sort(list->begin(), list->end(),
                   [](const PersonalityListEntry& a, const PersonalityListEntry& b) {
                     if (a.rating != b.rating) return a.rating > b.rating;
                     return std::strcmp(a.name, b.name) < 0;  // strcmp compares as unsigned bytes
                   });
}

int PersonalityRatingBand(int32_t rating) {
  // The boxes read "0 - 500", "501 - 1000" ...: each band ends on its
  // multiple of 500.
  int32_t r = std::min<int32_t>(rating, 2400);
  if (r <= 0) return 0;
  return std::min(4, (r - 1) / 500);
}

PersonalityFilters::PersonalityFilters() { std::fill(std::begin(ticked), std::end(ticked), true); }

uint32_t FilterMaskOfAge(const PersonalityFilters& f, bool kids) {
  uint32_t mask = 0;
  if (kids) {
    if (f.ticked[kFilter6to8]) mask |= kAge6to8;
    if (f.ticked[kFilter9to11]) mask |= kAge9to11;
    if (f.ticked[kFilter12to14]) mask |= kAge12to14;
    if (f.ticked[kFilter15to18]) mask |= kAge15to18;
  } else {
    if (f.ticked[kFilter6to18]) mask |= kAge6to8 | kAge9to11 | kAge12to14 | kAge15to18;
    if (f.ticked[kFilter19to24]) mask |= kAge19to24;
    if (f.ticked[kFilter25to40]) mask |= kAge25to40;
    if (f.ticked[kFilterOver40]) mask |= kAgeOver40;
  }
  return mask;
}

bool PassesPersonalityFilters(const PersonalityListEntry& e, const PersonalityFilters& f, bool kids,
                              bool kidsRoom) {
  int kindBox = e.kind == kGrandmasterPersonality    ? kFilterGrandmasters
                : e.kind == kFictionalPersonality    ? kFilterFictional
                : e.kind == kCustomPersonality       ? kFilterCustom
                : e.kind == kXboardEnginePersonality ? kFilterXboard
                                                     : -1;
  if (kindBox < 0 || !f.ticked[kindBox]) return false;
  if (std::strstr(e.name, "Barnaby") && !kidsRoom) return false;
  if (e.kind == kCustomPersonality || e.kind == kXboardEnginePersonality) return true;
  if (!f.ticked[e.sex == 1 ? kFilterMale : kFilterFemale]) return false;
  if (!f.ticked[kFilterBand0 + PersonalityRatingBand(e.rating)]) return false;
  return (e.ageGroups & FilterMaskOfAge(f, kids)) != 0;
}

void FilterPersonalityList(const std::vector<PersonalityListEntry>& list, const PersonalityFilters& filters,
                           bool kids, bool kidsRoom, PersonalitySelection* s) {
  s->passing.clear();
  for (size_t i = 0; i < list.size() && s->passing.size() < kMaxListedPersonalities; ++i)
    if (PassesPersonalityFilters(list[i], filters, kids, kidsRoom)) s->passing.push_back(static_cast<int>(i));
  auto at = std::find(s->passing.begin(), s->passing.end(), s->selected);
  if (s->selected >= 0 && at != s->passing.end()) {
    s->top = static_cast<int>(at - s->passing.begin());
  } else {
    s->selected = s->passing.empty() ? -1 : s->passing[0];
    s->top = 0;
  }
  int total = static_cast<int>(s->passing.size());
  s->scrollMax = std::max(0, total - 1);
  s->scrollPage = 4;
  if (list.size() < 5) {
    s->top = 0;
    s->scrollPage = 0;
  }
  s->okEnabled = s->selected >= 0;
}

int ScrollPersonalityCards(const PersonalitySelection& s, PersonalityScroll how, int position) {
  int top = s.top;
  switch (how) {
    case kScrollLineUp:
      top -= 1;
      break;
    case kScrollLineDown:
      top += 1;
      break;
    case kScrollPageUp:
      top -= 4;
      break;
    case kScrollPageDown:
      top += 4;
      break;
    case kScrollTo:
      top = position;
      break;
  }
  int last = static_cast<int>(s.passing.size()) - 4;
  if (top > last) top = last;
  if (top < 0) top = 0;
  return top;
}

PersonalityCardText MakePersonalityCardText(const PersonalityListEntry& e, const char* ratingWord) {
  PersonalityCardText t;
  t.name = e.name;
  if (e.kind == kFictionalPersonality)
    t.rating = std::string(ratingWord ? ratingWord : "") + ": " + std::to_string(e.rating);
  t.caption = e.caption;
  return t;
}

PersonalityInfoText MakePersonalityInfoText(const PersonalityListEntry* e, const char* ratingWord) {
  PersonalityInfoText t;
  if (!e) return t;
  t.name = e->name;
  if (e->kind == kFictionalPersonality)
    t.rating = std::string(ratingWord ? ratingWord : "") + ": " + std::to_string(e->rating);
  t.biography = e->biography;
  t.style = FormatPersonalityStyle(e->style, e->rating);
  return t;
}

std::string ChosenPersonalityName(const char* entryName) {
  std::string name = std::string(entryName ? entryName : "") + kPersonalityExtension;
  name.resize(name.rfind('.'));
  return name;
}

void SavePersonalityFilters(const PersonalityFilters& f, const FilterWriter& write) {
  for (int i = 0; i < kPersonalityFilterBoxes; ++i)
    write(kPersonalityFilterSection, kPersonalityFilterKeys[i], f.ticked[i] ? "1" : "0");
}

void LoadPersonalityFilters(PersonalityFilters* f, const FilterReader& read) {
  for (int i = 0; i < kPersonalityFilterBoxes; ++i)
    f->ticked[i] = read(kPersonalityFilterSection, kPersonalityFilterKeys[i], 1) != 0;
}
