#include "game_panel_core.h"

#include <algorithm>

int GamePanelStops::StopPly(int index) const {
  return index >= 0 && index < Count() ? stops_[static_cast<size_t>(index)].ply : kGamePanelNoPly;
}

int GamePanelStops::LastPlyOfRange(int index, int plies) const {
  if (index < 0 || index >= Count()) return kGamePanelNoPly;
  return index + 1 < Count() ? StopPly(index + 1) - 1 : plies;
}

int GamePanelStops::StopOfPly(int ply) const {
  if (ply < 0) return -1;
  for (int k = 0; k < Count(); ++k) {
    const int next = k + 1 < Count() ? StopPly(k + 1) : ply + 1;
    if (StopPly(k) <= ply && ply < next) return k;
  }
  return Count() - 1;
}

bool GamePanelStops::IsRevealed(int ply) const {
  for (int k = 0; k < Count(); ++k) {
    const int next = k + 1 < Count() ? StopPly(k + 1) : ply + 1;
    if (stops_[static_cast<size_t>(k)].revealed && StopPly(k) <= ply && ply < next) return true;
  }
  return false;
}

bool GamePanelStops::MoveShown(int ply, int current) const {
  const int currentPly = StopPly(current);
  return ply < currentPly || ply == 1 || IsRevealed(ply);
}

bool GamePanelStops::LessonCompleted() const {
  return std::all_of(stops_.begin(), stops_.end(), [](const GamePanelStop& s) { return s.played; });
}

GamePanelStops BuildGamePanelStops(const std::vector<std::string>& commentsByPly,
                                   const std::function<std::string(const std::string&)>& voiceTag) {
  std::vector<GamePanelStop> stops;
  for (size_t i = 0; i < commentsByPly.size() && stops.size() < kGamePanelMaxStops; ++i) {
    if (commentsByPly[i].empty() || voiceTag(commentsByPly[i]).empty()) continue;
    GamePanelStop s;
    s.ply = static_cast<int>(i) + 1;
    stops.push_back(s);
  }
  return GamePanelStops(std::move(stops));
}

int GamePanelClickPly(int line, int x, int whiteX, int blackX, int moveWidth) {
  const bool black = x > blackX && x >= whiteX + moveWidth;
  return 2 * line + 1 + (black ? 1 : 0);
}

GamePanelPlacement LayOutGamePanel(int width, int height, const GamePanelMeasures& m) {
  GamePanelPlacement p;
  const int areas = m.blackAreaHeight + m.whiteAreaHeight;
  p.listShown = width >= 7 * m.stepWidth && height - m.lineHeight - m.stepHeight >= areas;
  p.blackPictureY = 6;
  int below;  // the y under which White's area follows
  if (p.listShown) {
    const int listWidth = std::max(7 * m.stepWidth, width * 9 / 10);
    const int x0 = (width - listWidth) / 2;
    const int stepY = m.blackAreaHeight + 12;
    const int advance = (listWidth - 7 * m.stepWidth) / 6 + m.stepWidth;
    for (int i = 0; i < 7; ++i) p.steps[i] = {x0 + i * advance, stepY, m.stepWidth, m.stepHeight};
    p.list = {x0, stepY + m.stepHeight + 6, listWidth,
              std::max(0, height - m.stepHeight - areas - m.playHeight - 40)};
    const int clientWidth = listWidth - m.listClientWidthLess;
    const int spare = std::max(0, (clientWidth - m.numberWidth - 2 * m.moveWidth) / 3);
    p.whiteColumnX = m.numberWidth + spare;
    p.blackColumnX = p.whiteColumnX + m.moveWidth + spare;
    below = p.list.y + p.list.height + 6;
  } else {
    below = p.blackPictureY + m.blackAreaHeight + 12;
  }
  p.whitePictureY = below;
  const int rowY = below + m.whiteAreaHeight + 6;
  const int spacing = (width - 2 * m.playWidth) / 3;
  p.play = {spacing, rowY, m.playWidth, m.playHeight};
  p.stop = {m.playWidth + 2 * spacing, rowY, m.playWidth, m.playHeight};
  return p;
}
