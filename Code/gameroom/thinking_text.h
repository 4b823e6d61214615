// The Thinking Lines window without its windows: which sections it offers,
// the texts of a thinking line and of the statistics row, the layout and
// the minimum size.
//
// Interface: FormatThinkingTime, FormatThinkingScore, ThinkingMovesText,
// ThinkingSections, ChooseThinkingSections, ThinkingLayoutInput,
// ThinkingSectionRects, LayThinkingLines, ThinkingMinimumSize.
#pragma once

#include <cstdint>
#include <string>

// Whole seconds: "0:%02d" below a minute, "%d:%02d" below an hour, then
// "%d:%02d:%02d".
std::string FormatThinkingTime(uint32_t seconds);
// Hundredths of a pawn as pawns with two decimals: -5 "-0.05", 250 "2.50".
std::string FormatThinkingScore(int32_t score);
// The Moves column: the line, with the expected opponent move in front when
// the engine ponders on it (the player not to move); empty with no line.
std::string ThinkingMovesText(const char* line, const char* expectedMove, bool playerToMove);

enum ThinkingSection { kThinkWhite, kThinkBlack, kThinkAdvisor };
struct ThinkingSections {
  bool enabled[3];  // the check buttons
  bool shown[3];    // caption and lists shown
  bool startAdvisorAnalysis;
  bool stopAdvisorAnalysis;
};
// `isEngine` of White and Black, their names, the ticked buttons, whether
// the window is shown and whether it has started the advisor's analysis.
ThinkingSections ChooseThinkingSections(const bool isEngine[2], const char* const names[2],
                                        const bool ticked[3], bool windowShown, bool advisorRunning);

struct ThinkingLayoutInput {
  int width, height;
  int buttonWidth[3], buttonHeight;
  int captionHeight;     // S, White's caption static
  int statisticsHeight;  // each statistics list's own height
  bool shown[3];
};
struct Rect {
  int x, y, width, height;
};
struct ThinkingSectionRects {
  Rect buttons[3];
  Rect caption[3], thinking[3], statistics[3], splitter[2];
  int lastColumnWidth;  // of each thinking list (its client width less 300)
};
ThinkingSectionRects LayThinkingLines(const ThinkingLayoutInput& in);
// The smallest client size: buttons, the shown sections' captions and one
// list line each (`lineHeight`).
void ThinkingMinimumSize(const ThinkingLayoutInput& in, const int captionWidth[3], int lineHeight, int* width,
                         int* height);
