// The list of personalities the Select Personality dialog offers: entries
// made from the records, which files are listed under the caller's
// restrictions, the sort, the nineteen filter boxes, the filter pass and
// the card scrolling.
//
// Interface: PersonalityListEntry, MakePersonalityListEntry,
// PersonalityListRestrictions, IsPersonalityListed, ReadPersonalityList,
// SortPersonalityList,
// PersonalityRatingBand, PersonalityFilterBox, kPersonalityFilterKeys,
// PersonalityFilters, FilterMaskOfAge, FilterPersonalityList,
// PersonalitySelection, ScrollPersonalityCards, ChosenPersonalityName,
// PersonalityCardText, PersonalityInfoText, SavePersonalityFilters,
// LoadPersonalityFilters.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "personality.h"

constexpr int kMaxListedPersonalities = 256;

struct PersonalityListEntry {
  char name[260];  // file name without folder and extension
  uint32_t kind;
  int32_t rating;  // 0 for custom and outside-engine personalities
  uint32_t sex;
  uint32_t ageGroups;
  char picture[30];
  char caption[30];
  char biography[1000];
  char style[1000];
};

// `fileName` is the name without its folder ("Tarn - Age 12.RWP"); the
// entry's name drops only the last extension. The benchmark score moves
// depth-99 ratings unless the name holds " - Age ".
PersonalityListEntry MakePersonalityListEntry(const PersonalityRecord& record, const char* fileName,
                                              uint32_t benchmark);

struct PersonalityListRestrictions {
  bool rated = false;
  bool kids = false;
  bool enginesOnly = false;
  int32_t ratingCap = 0;  // 0: none
};
bool IsPersonalityListed(const PersonalityListEntry& entry, const PersonalityListRestrictions& restrictions);

// Every ".RWP" file (any case; no folders) of `folder` that the restrictions
// let through, at most 256, sorted; damaged or short files are skipped.
std::vector<PersonalityListEntry> ReadPersonalityList(const std::string& folder,
                                                      const PersonalityListRestrictions& restrictions,
                                                      uint32_t benchmark);

// Highest rating first, ties by name in byte order.
void SortPersonalityList(std::vector<PersonalityListEntry>* list);
// 0 "0 - 500" .. 4 "Over 2000".
int PersonalityRatingBand(int32_t rating);

enum PersonalityFilterBox {
  kFilterGrandmasters,
  kFilterFictional,
  kFilterCustom,
  kFilterXboard,
  kFilterMale,
  kFilterFemale,
  kFilter6to18,
  kFilter19to24,
  kFilter25to40,
  kFilterOver40,
  kFilter6to8,
  kFilter9to11,
  kFilter12to14,
  kFilter15to18,
  kFilterBand0,
  kFilterBand1,
  kFilterBand2,
  kFilterBand3,
  kFilterBand4,
  kPersonalityFilterBoxes
};
// The settings keys of section "Personality Filters", in box order.
extern const char* const kPersonalityFilterKeys[kPersonalityFilterBoxes];
extern const char kPersonalityFilterSection[];

struct PersonalityFilters {
  bool ticked[kPersonalityFilterBoxes];
  PersonalityFilters();  // every box ticked
};

// The age mask to match: from the adult boxes, or in kids mode the kid ones.
uint32_t FilterMaskOfAge(const PersonalityFilters& filters, bool kids);
bool PassesPersonalityFilters(const PersonalityListEntry& entry, const PersonalityFilters& filters, bool kids,
                              bool kidsRoom);

struct PersonalitySelection {
  std::vector<int> passing;  // indices into the list
  int selected = -1;         // index into the list, -1 none
  int top = 0;               // first card, an index into `passing`
  int scrollMax = 0;         // scroll range 0..scrollMax
  int scrollPage = 0;        // 0: no page (fewer than 5 in the whole list)
  bool okEnabled = false;
};
// Filters the list; the selected entry stays when it passes (it becomes the
// top card), else the first passing entry is selected.
void FilterPersonalityList(const std::vector<PersonalityListEntry>& list, const PersonalityFilters& filters,
                           bool kids, bool kidsRoom, PersonalitySelection* selection);

enum PersonalityScroll { kScrollLineUp, kScrollLineDown, kScrollPageUp, kScrollPageDown, kScrollTo };
// The new top card: within 0 and passing - 4.
int ScrollPersonalityCards(const PersonalitySelection& selection, PersonalityScroll how, int position);

// Card geometry: four cards of 239 x 110 stacked from y 0.
constexpr int kPersonalityCardWidth = 239;
constexpr int kPersonalityCardHeight = 110;
inline int PersonalityCardTop(int card) { return card * kPersonalityCardHeight; }

// The texts of a card and of the Info page; `ratingWord` is string 1300.
struct PersonalityCardText {
  std::string name, rating, caption;
};
PersonalityCardText MakePersonalityCardText(const PersonalityListEntry& entry, const char* ratingWord);
struct PersonalityInfoText {
  std::string name, rating, biography, style;
};
// Null entry: four empty texts.
PersonalityInfoText MakePersonalityInfoText(const PersonalityListEntry* entry, const char* ratingWord);

// The name handed back on OK: ".RWP" appended, then cut at the last ".".
std::string ChosenPersonalityName(const char* entryName);

// The settings file's section, through the shell's reader and writer.
using FilterWriter = std::function<void(const char* section, const char* key, const char* value)>;
using FilterReader = std::function<int(const char* section, const char* key, int fallback)>;
void SavePersonalityFilters(const PersonalityFilters& filters, const FilterWriter& write);
void LoadPersonalityFilters(PersonalityFilters* filters, const FilterReader& read);
