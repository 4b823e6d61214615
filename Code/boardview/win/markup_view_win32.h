// The markup player's board: MarkupHost's board calls carried out on a
// board view (arrows, marks, glyphs, piece sprites, repaints), and its step
// queued on idle queue 1 under keys 12 and 10. The game, the status line,
// the message box, the sound, the lessons and the side panel stay with the
// program, which derives from this class.
//
// Interface: BoardViewMarkupHost.
#pragma once

#include "markup_player.h"

struct BoardView;

class BoardViewMarkupHost : public MarkupHost {
 public:
  explicit BoardViewMarkupHost(BoardView* view) : view_(view) {}
  BoardView* view() const { return view_; }

  uint32_t Now() override;
  bool QueueStep(VoiceClip* clip) override;
  bool UnqueueStep(VoiceClip* clip) override;
  int HideMode() override;
  void BlockBoardInput(bool block) override;

  void AddArrow(const char* text) override;
  void ClearArrows() override;
  void MarkSquares(const char* squares, uint32_t flag) override;
  void ClearMarks(int clipKind) override;
  bool ShowGlyph(int colour, int type, int column, int row) override;
  void RemoveGlyphAt(int column, int row) override;
  void ClearGlyphs() override;
  bool PutPiece(int colour, int type, int column, int row) override;
  bool RemovePiece(int column, int row) override;
  bool MovePiece(int fromColumn, int fromRow, int toColumn, int toRow, bool slide) override;
  void ResetSprites() override;
  void InvalidateBoard(bool erase) override;

 private:
  BoardView* view_;
  intptr_t savedCallbackData_ = 0;
  bool blocked_ = false;
};
