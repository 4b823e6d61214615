// The chess coach window's rules without windows: what a game event does to
// the window, when advice is computed, the texts of the Database Findings
// rows and what a findings lookup's result shows, the request numbers of
// lookups and the notation menu.
//
// Interface: CoachEventAction, DecideCoachEvent, CoachAdviceDue,
// kCoachNoAdviceKinds, CoachAdviceLine, CoachMoveColumnText,
// CoachResultsText, CoachPctText, CoachLookupShow, DescribeCoachLookup,
// NextCoachRequest, CoachNotationItem, kCoachNotationItems.
#pragma once

#include <cstdint>
#include <string>

// ---- game events

struct CoachEventAction {
  bool resetAdvice = false;   // advice and the three "filled" flags cleared
  bool lock = false;          // navigation lock set (13)
  bool unlock = false;        // navigation lock cleared (14)
  bool reattach = false;      // follow the game again and recompute the advice
};
// `locked`: the lock as it stands before the event.
CoachEventAction DecideCoachEvent(int code, bool locked);

// Kinds of game the coach gives no advice for.
constexpr uint32_t kCoachNoAdviceKinds = 0x2D000;
bool CoachAdviceDue(bool computed, bool haveGame, bool visible, uint32_t kindFlags);

// ---- texts

// One line of the Advice list: the described move (its notation, a tab, what
// it does).
std::string CoachAdviceLine(const std::string& described);
// The "Move" column: the advice line from its first non-blank character up
// to the first tab, or the row's coordinates when that is empty.
std::string CoachMoveColumnText(const std::string& adviceLine, const std::string& coordinates);
std::string CoachResultsText(uint32_t wins, uint32_t draws, uint32_t losses);
// "%0.1f%%" of (wins x 100 + draws x 50) / games; "NA" without games.
std::string CoachPctText(uint32_t wins, uint32_t draws, uint32_t losses);

// ---- lookups

struct CoachLookupShow {
  bool showRows = false;   // the rows found are shown
  bool keepRows = false;   // the search goes on: rows stay until 0x830D
  std::string lastRow;     // a row after them ("None", "Search...", a message, or "" for an empty row)
  bool addLastRow = false;
};
// What the page shows for a lookup's result and the rows it found.
CoachLookupShow DescribeCoachLookup(int result, int rowCount);

// The next request number: a program-wide counter that skips 0.
uint32_t NextCoachRequest(uint32_t* counter);

// ---- notation menu

struct CoachNotationItem {
  int command;  // the menu id, also the string resource
  int style;
  const char* text;
};
extern const CoachNotationItem kCoachNotationItems[6];
