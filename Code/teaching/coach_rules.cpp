#include "coach_rules.h"

#include <cstdio>

CoachEventAction DecideCoachEvent(int code, bool locked) {
  CoachEventAction a;
  if (code == 1) a.resetAdvice = true;
  if (code == 13) a.lock = true;
  if (code == 14) a.unlock = true;
  const bool lockedNow = a.lock || (locked && !a.unlock);
  if (!lockedNow) {
    switch (code) {
      case 0:
      case 9:
      case 10:
      case 11:
      case 12:
      case 14:
      case 15:
        a.reattach = true;
        break;
      default:
        break;
    }
  }
  return a;
}

bool CoachAdviceDue(bool computed, bool haveGame, bool visible, uint32_t kindFlags) {
  return !computed && haveGame && visible && (kindFlags & kCoachNoAdviceKinds) == 0;
}

std::string CoachAdviceLine(const std::string& described) { return " " + described + "   "; }

std::string CoachMoveColumnText(const std::string& adviceLine, const std::string& coordinates) {
  const size_t first = adviceLine.find_first_not_of(' ');
  std::string text;
  if (first != std::string::npos) {
    const size_t tab = adviceLine.find('\t', first);
    text = adviceLine.substr(first, tab == std::string::npos ? std::string::npos : tab - first);
    const size_t end = text.find_last_not_of(' ');
    text = end == std::string::npos ? std::string() : text.substr(0, end + 1);
  }
  return text.empty() ? coordinates : text;
}

std::string CoachResultsText(uint32_t wins, uint32_t draws, uint32_t losses) {
  char text[64];
  std::snprintf(text, sizeof text, "+%lu =%lu -%lu", static_cast<unsigned long>(wins),
                static_cast<unsigned long>(draws), static_cast<unsigned long>(losses));
  return text;
}

std::string CoachPctText(uint32_t wins, uint32_t draws, uint32_t losses) {
  const double games = double(wins) + double(draws) + double(losses);
  if (games == 0) return "NA";
  char text[32];
  std::snprintf(text, sizeof text, "%0.1f%%", (double(wins) * 100 + double(draws) * 50) / games);
  return text;
}

CoachLookupShow DescribeCoachLookup(int result, int rowCount) {
  CoachLookupShow s;
  switch (result) {
    case 0:
      s.showRows = rowCount > 0;
      s.addLastRow = rowCount <= 0;
      s.lastRow = "None";
      break;
    case 1:
      s.showRows = true;
      s.keepRows = true;
      s.addLastRow = true;
      s.lastRow = "Search...";
      break;
    case 11:
      s.addLastRow = true;
      s.lastRow = "No database is open.";
      break;
    case 12:
      s.addLastRow = true;
      s.lastRow = "Can't open database.";
      break;
    case 13:
      s.addLastRow = true;
      s.lastRow = "Database lacks key information.";
      break;
    default:  // 10, 14, 15 and anything unknown: an empty row
      s.addLastRow = true;
      break;
  }
  return s;
}

uint32_t NextCoachRequest(uint32_t* counter) {
  if (++*counter == 0) ++*counter;
  return *counter;
}

const CoachNotationItem kCoachNotationItems[6] = {
    {40156, 3, "Coordinate"},         {40153, 0, "Algebraic"},   {40157, 4, "Long Algebraic"},
    {40155, 2, "Figurine Algebraic"}, {40154, 1, "Descriptive"}, {40158, 5, "International"},
};
