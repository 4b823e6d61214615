#include "clipboard_text.h"

#include "position_text.h"
#include "text_export.h"

std::string PositionClipboardText(const Board& board) {
  char block[kPositionBlockSize] = {};
  PositionToText(&board, block);
  return block;
}

std::string DiagramClipboardText(const Board& board) {
  std::string text = BoardToDiagramText(&board);
  if (text.size() >= kDiagramBlockSize) text.resize(kDiagramBlockSize - 1);
  return text;
}

GameTextCopy GameClipboardText(GameRecord* game, bool tabs, int slot, int language, std::string* text) {
  text->clear();
  if (!game) return GameTextCopy::kReady;
  if (MeasureGameText(game, slot) >= kClipboardTextLimit) return GameTextCopy::kTooLarge;
  *text = GameToText(game, tabs, false, slot, language);
  return GameTextCopy::kReady;
}
