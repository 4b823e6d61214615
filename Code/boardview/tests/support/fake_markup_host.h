// A markup host over a plain board: a settable clock, the step entry as a
// flag, and every board call recorded as a line of text.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "arrows.h"
#include "markup_player.h"
#include "position_text.h"

class FakeMarkupHost : public MarkupHost {
 public:
  uint32_t now = 1000;
  bool queued = false;
  int poll = 0;
  int hideMode = 0;
  bool haveGame = true;
  uint32_t kindFlags = 0;
  Board game{};
  int side = WHITE;
  bool soundPlaying = false;
  ArrowSlot arrows[kArrowSlots];
  std::vector<std::string> calls;
  std::string status;
  Board pieces{};  // what the fake view shows

  FakeMarkupHost() {
    ::ClearArrows(arrows);
    SetInitialBoard(&game);
    pieces = game;
  }
  void Log(const char* format, int a = 0, int b = 0, int c = 0, int d = 0) {
    char line[96];
    std::snprintf(line, sizeof line, format, a, b, c, d);
    calls.push_back(line);
  }
  bool Called(const std::string& prefix) const {
    for (const std::string& c : calls)
      if (c.compare(0, prefix.size(), prefix) == 0) return true;
    return false;
  }

  uint32_t Now() override { return now; }
  bool QueueStep(VoiceClip*) override { return queued = true; }
  bool UnqueueStep(VoiceClip* clip) override {
    if (!queued) return false;
    queued = false;
    EndMarkupPlayer(clip);
    return true;
  }
  void ChangePollCount(int raise) override { poll += raise ? 1 : -1; }
  bool StartSound(VoiceClip*) override { return true; }
  bool SoundPlaying(VoiceClip*) override { return soundPlaying; }
  void FreeSound(VoiceClip*) override {}
  void BlockBoardInput(bool block) override { Log(block ? "block" : "unblock"); }
  int HideMode() override { return hideMode; }
  bool HaveGame() override { return haveGame; }
  bool GamePosition(Board* out) override {
    *out = game;
    return true;
  }
  void SetGamePosition(const Board& board) override { game = board; }
  uint32_t GameKindFlags() override { return kindFlags; }
  void SetSideToMove(int s) override { side = s; }
  bool SetGamePositionText(const char* text) override {
    Board b;
    int s = WHITE, n = 1;
    if (ParseFen(text, &b, &s, &n) != 0) return false;
    game = b, side = s;
    return true;
  }
  Board* GameBoard() override { return &game; }
  void AddArrow(const char* text) override { ::AddArrow(arrows, text); }
  void ClearArrows() override {
    ::ClearArrows(arrows);
    Log("arrows cleared");
  }
  void MarkSquares(const char* squares, uint32_t flag) override {
    calls.push_back("mark " + std::string(squares) + " " + std::to_string(flag));
  }
  void ClearMarks(int kind) override { Log("marks cleared %d", kind); }
  bool ShowGlyph(int colour, int type, int column, int row) override {
    Log("glyph %d %d %d %d", colour, type, column, row);
    return true;
  }
  void RemoveGlyphAt(int column, int row) override { Log("glyph off %d %d", column, row); }
  void ClearGlyphs() override { Log("glyphs cleared"); }
  bool PutPiece(int colour, int type, int column, int row) override {
    pieces[MakeSquare(row, column)] = static_cast<uint8_t>((colour + 1) * 16 + type);
    Log("put %d %d %d %d", colour, type, column, row);
    return true;
  }
  bool RemovePiece(int column, int row) override {
    uint8_t& p = pieces[MakeSquare(row, column)];
    if (!p) return false;
    p = 0;
    return true;
  }
  bool MovePiece(int fc, int fr, int tc, int tr, bool slide) override {
    uint8_t& from = pieces[MakeSquare(fr, fc)];
    if (!from) return false;
    pieces[MakeSquare(tr, tc)] = from;
    from = 0;
    Log(slide ? "slide %d %d %d %d" : "jump %d %d %d %d", fc, fr, tc, tr);
    return true;
  }
  void ResetSprites() override {
    pieces = game;
    Log("sprites reset");
  }
  void InvalidateBoard(bool erase) override { Log(erase ? "invalidate erase" : "invalidate"); }
  void SetStatusText(const char* text) override { status = text; }
  void ClearStatusText() override { status.clear(); }
  std::string pauseText;
  uint32_t pauseFor = 0;
  void ShowPauseMessage(const char* text) override {
    pauseText = text;
    now += pauseFor;  // the user reads the box this long
  }
  void LessonEvent(char letter, const char*) override { Log("lesson %c", letter); }
  void RestorePanelGame(bool flipBack, const Board& saved) override {
    game = saved;
    Log("panel restored %d", flipBack);
  }
};
