// The "Select Personality" dialog: a scrolling column of four personality
// cards (window class RWONYXPersClass), the Filters page with the nineteen
// filter boxes and the Info page of the selected personality. The boxes'
// ticks are kept for the settings file (personality_filter_settings.h).
//
// Interface: SelectPersonality, SelectPersonalityDlgProc,
// kChosenPersonalitySize, SelectPersonalityControl ids,
// kPersonalityCardClass, kCardClicked.
#pragma once

#include <windows.h>

#include <cstdint>

constexpr char kSelectPersonalityDialog[] = "SELECT_PERSONALITY";
constexpr char kPersonalityCardClass[] = "RWONYXPersClass";
// A card tells the dialog it was clicked: wParam the card, 0..3.
constexpr UINT kCardClicked = 0x1604;
// The chosen name's buffer holds this many bytes.
constexpr int kChosenPersonalitySize = 260;

enum SelectPersonalityControl : int {
  kCardFirst = 1700,  // four cards, 1700..1703
  kCardScroll = 1710,
  kPersonalityTabs = 1711,
  kFiltersPageId = 1712,
  kInfoPageId = 1713,
  kFilterBoxFirst = 1720,  // the nineteen boxes in the order of PersonalityFilterBox
  kInfoName = 1750,
  kInfoRating = 1751,
  kInfoBiography = 1752,
  kInfoStyle = 1753,
};

// 1 with the chosen personality's name (its file name without the
// extension) in `chosen` (kChosenPersonalitySize bytes); 0 on Cancel, when
// the faces pack is not open or the dialog cannot open. A rating cap of 0
// is none.
int SelectPersonality(HWND owner, char* chosen, int rated, int kids, int enginesOnly, int32_t ratingCap);

INT_PTR CALLBACK SelectPersonalityDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
