// Thinking Lines texts and layout.
#include "thinking_text.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

std::string FormatThinkingTime(uint32_t s) {
  char text[32];
  if (s < 60)
    std::snprintf(text, sizeof text, "0:%02u", s);
  else if (s < 3600)
    std::snprintf(text, sizeof text, "%u:%02u", s / 60, s % 60);
  else
    std::snprintf(text, sizeof text, "%u:%02u:%02u", s / 3600, s / 60 % 60, s % 60);
  return text;
}

std::string FormatThinkingScore(int32_t score) {
  long long s = score;
  char text[32];
  // Between -1 and 0 pawns the whole part is 0 and would lose its sign.
  std::snprintf(text, sizeof text, "%s%lld.%02lld", (s < 0 && s > -100) ? "-" : "", s / 100,
                std::llabs(s % 100));
  return text;
}

std::string ThinkingMovesText(const char* line, const char* expectedMove, bool playerToMove) {
  if (!line || !*line) return std::string();
  if (expectedMove && *expectedMove && !playerToMove) return std::string(expectedMove) + " " + line;
  return line;
}

namespace {
bool IsHouseName(const char* name) {
  if (!name) return false;
  const char* house = "rookwell";
  for (; *name && *house; ++name, ++house)
    if (std::tolower(static_cast<unsigned char>(*name)) != *house) return false;
  return !*name && !*house;
}
}  // namespace

ThinkingSections ChooseThinkingSections(const bool isEngine[2], const char* const names[2],
                                        const bool ticked[3], bool windowShown, bool advisorRunning) {
  ThinkingSections s{};
  bool offered = true;
  for (int side = 0; side < 2; ++side) {
    if (!isEngine[side]) continue;
    s.enabled[side] = true;
    if (IsHouseName(names[side])) offered = false;
    s.shown[side] = windowShown && ticked[side];
  }
  if (offered) {
    s.enabled[kThinkAdvisor] = true;
    s.shown[kThinkAdvisor] = windowShown && ticked[kThinkAdvisor];
  }
  s.startAdvisorAnalysis = s.shown[kThinkAdvisor] && !advisorRunning;
  s.stopAdvisorAnalysis = !s.shown[kThinkAdvisor] && advisorRunning;
  return s;
}

ThinkingSectionRects LayThinkingLines(const ThinkingLayoutInput& in) {
  ThinkingSectionRects r{};
  const int margin = 5, S = in.captionHeight, B = in.buttonHeight;
  int x = margin;
  for (int i = 0; i < 3; ++i) {
    r.buttons[i] = {x, margin, in.buttonWidth[i], B};
    x += in.buttonWidth[i] + margin;
  }
  int n = 0;
  for (bool shown : in.shown) n += shown ? 1 : 0;
  int listHeight = n ? (in.height - B - 10 - n * (25 + 2 * S + 4)) / n : in.height - B - 10 - (2 * S + 20);
  listHeight = std::max(0, listHeight);
  int y = B + 10, width = std::max(0, in.width - 10);
  for (int i = 0; i < 3; ++i) {
    if (!in.shown[i]) continue;
    r.caption[i] = {margin, y, width, S};
    r.thinking[i] = {margin, y + S, width, listHeight};
    r.statistics[i] = {margin, y + S + listHeight + 1, width, in.statisticsHeight};
    y = y + S + listHeight + 1 + in.statisticsHeight + 5;
    if (i < 2) {
      r.splitter[i] = {0, y, in.width, 4};
      y += 4;
    }
    y += 5;
  }
  r.lastColumnWidth = std::max(0, width - 300);
  return r;
}

void ThinkingMinimumSize(const ThinkingLayoutInput& in, const int captionWidth[3], int lineHeight, int* width,
                         int* height) {
  int w = 5;
  for (int i = 0; i < 3; ++i) w += in.buttonWidth[i] + 5;
  for (int i = 0; i < 3; ++i)
    if (in.shown[i]) w = std::max(w, captionWidth[i] + 10);
  *width = w + 5;
  int h = in.buttonHeight + 15;
  for (int i = 0; i < 3; ++i)
    if (in.shown[i]) h += 5 + in.captionHeight + lineHeight + (i == kThinkAdvisor ? 5 : 0);
  *height = h;
}
