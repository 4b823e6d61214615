// The game side panel without its window: the stops of a lesson game (moves
// whose embedded-commands comment carries a voice tag), the range of plies
// each stop covers, which moves are shown or hidden as "???", the ply of a
// click in the move list, whether the lesson was completed, and the layout
// of the panel's controls.
//
// Interface: GamePanelStop, kGamePanelMaxStops, kGamePanelNoPly,
// kGamePanelCommentLimit, kGamePanelNameLimit, BuildGamePanelStops,
// GamePanelStops, GamePanelMeasures, GamePanelPlacement, LayOutGamePanel.
#pragma once

#include <functional>
#include <string>
#include <vector>

constexpr int kGamePanelMaxStops = 100;
// No ply: a real ply in long games can be 255, so the sentinel is -1.
constexpr int kGamePanelNoPly = -1;
// The stop move's comment copied for its clip, and the player names.
constexpr size_t kGamePanelCommentLimit = 10240 - 1;
constexpr size_t kGamePanelNameLimit = 64;

struct GamePanelStop {
  int ply = kGamePanelNoPly;
  bool played = false;
  bool revealed = false;
};

class GamePanelStops {
 public:
  GamePanelStops() = default;
  explicit GamePanelStops(std::vector<GamePanelStop> stops) : stops_(std::move(stops)) {}
  int Count() const { return static_cast<int>(stops_.size()); }
  GamePanelStop& operator[](int i) { return stops_[static_cast<size_t>(i)]; }
  const GamePanelStop& operator[](int i) const { return stops_[static_cast<size_t>(i)]; }

  // The ply of stop `index`; kGamePanelNoPly for -1 or an index out of range.
  int StopPly(int index) const;
  // The last ply stop `index` covers: the next stop's ply - 1, or the main
  // line's last ply for the last stop; kGamePanelNoPly for no stop.
  int LastPlyOfRange(int index, int plies) const;
  // The stop whose range holds the ply; a ply in no range maps to the last
  // stop, -1 stays -1.
  int StopOfPly(int ply) const;
  bool IsRevealed(int ply) const;
  // Whether the list shows the move of `ply` (else "???"), with `current`
  // the current stop index: before the current stop's ply, White's first
  // move, or revealed.
  bool MoveShown(int ply, int current) const;
  // Every stop played (a game without stops counts as completed).
  bool LessonCompleted() const;

 private:
  std::vector<GamePanelStop> stops_;
};

// The stops of a game from the embedded-commands comment of each ply of its
// main line (index 0 = ply 1), with `voiceTag` answering a comment's voice
// tag (empty for none); at most 100, further tagged moves are no stops.
GamePanelStops BuildGamePanelStops(const std::vector<std::string>& commentsByPly,
                                   const std::function<std::string(const std::string&)>& voiceTag);

// The ply of a click on list line `line` at list x: White's move, or
// Black's when x lies in Black's column.
int GamePanelClickPly(int line, int x, int whiteX, int blackX, int moveWidth);

struct GamePanelMeasures {
  int lineHeight = 0, numberWidth = 0, moveWidth = 0;
  int stepWidth = 0, stepHeight = 0;
  int playWidth = 0, playHeight = 0;
  int blackAreaHeight = 0, whiteAreaHeight = 0;  // the larger of name and picture place
  int listClientWidthLess = 0;                   // list width - its client width (borders, scroll bar)
};
struct GamePanelRect {
  int x = 0, y = 0, width = 0, height = 0;
};
struct GamePanelPlacement {
  bool listShown = false;
  GamePanelRect steps[7];  // "<<", "<", "<|", "X", "|>", ">", ">>"
  GamePanelRect list;
  int whiteColumnX = 0, blackColumnX = 0;
  int blackPictureY = 6, whitePictureY = 0;
  GamePanelRect play, stop;  // Pause shares Play's place
};
GamePanelPlacement LayOutGamePanel(int width, int height, const GamePanelMeasures& m);
