// The timed markup player: plays a voice clip's board markup (marks, arrows,
// glyphs, piece moves, positions, pauses, delays) on a board in step with
// the clip's sound, one event per step, and puts the board back at the end.
//
// The player knows nothing of windows: it reaches the board, the game, the
// status line, the message box, the lessons and the clock through
// MarkupHost. The program implements it over the board view and the
// application shell; tests over fakes.
//
// Interface: VoiceClip, MarkupEvent, MarkupPlayer, MarkupHost,
// StartMarkupPlayer, StepMarkupPlayer, StopMarkupPlayer, EndMarkupPlayer,
// RestoreAfterMarkup, PauseVoiceClipTime, ResumeVoiceClipTime,
// DispatchMarkupEvent and the handlers (SetMarkupDelay, MarkupMovePiece,
// MarkupHighlightSquares, MarkupClearHighlights, MarkupShowGlyph,
// MarkupRemoveGlyphs, MarkupAddArrows, MarkupClearArrows, MarkupPutPiece,
// MarkupRemovePiece, MarkupCommit, MarkupSetPosition).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "board.h"

enum VoiceClipFlag : uint32_t { CLIP_PLAYING = 1, CLIP_PAUSED = 2, CLIP_WAITING = 4, CLIP_FINISHED = 8 };
// Game kind bits the player tests.
constexpr uint32_t kGameKeepsMarkup = 0x1000;  // markup changes stay in the game
constexpr uint32_t kGamePanelGame = 0x20000;   // a game replayed in the side panel
constexpr int kClipKindLesson = 4;             // marks in flag 16
constexpr int kClipKindPrepared = 5;           // a prepared sound object
constexpr size_t kMarkupArgumentMax = 255;

constexpr const char* kDefaultPauseText =
    "Pausing while you think about the current position. Press OK to Continue....";

struct MarkupEvent {
  int32_t due;  // milliseconds from the start of playback
  std::string text;
};

struct MarkupPlayer {
  int eventsPlayed = 0;
  int putPiece = 0, removePiece = 0, moved = 0, highlight = 0, glyph = 0, arrow = 0, turned = 0, position = 0;
  Board saved{};
  uint32_t startTick = 0;
  uint32_t delay = 0;
  uint32_t delayStart = 0;
  uint32_t pausedTime = 0;
  int stop = 0;
};

class MarkupHost;

struct VoiceClip {
  uint32_t flags = 0;
  std::vector<MarkupEvent> events;
  size_t current = 0;
  int kind = 0;
  bool blockInput = false;
  bool hasSound = false;
  void (*completion)(void* argument) = nullptr;
  void* completionArgument = nullptr;
  std::unique_ptr<MarkupPlayer> player;
  MarkupHost* host = nullptr;
  bool completionCalled = false;
};

class MarkupHost {
 public:
  virtual ~MarkupHost() = default;
  virtual uint32_t Now() = 0;
  // The step entry on idle queue 1 and the main loop's poll counter.
  virtual bool QueueStep(VoiceClip* clip) = 0;
  // False when no step entry was queued; removing one ends the player.
  virtual bool UnqueueStep(VoiceClip* clip) = 0;
  virtual void ChangePollCount(int raise) = 0;
  // Sound: start it (false when a prepared sound fails), whether it plays,
  // free it; pause and resume it with the clip.
  virtual bool StartSound(VoiceClip* clip) = 0;
  virtual bool SoundPlaying(VoiceClip* clip) = 0;
  virtual void FreeSound(VoiceClip* clip) = 0;
  virtual void BlockBoardInput(bool block) = 0;
  virtual int HideMode() = 0;

  // The current game; false without one.
  virtual bool HaveGame() = 0;
  virtual bool GamePosition(Board* out) = 0;
  virtual void SetGamePosition(const Board& board) = 0;
  virtual uint32_t GameKindFlags() = 0;
  virtual void SetSideToMove(int side) = 0;
  // Reads a position text into the game (board, side, move number); false
  // when the text is no position.
  virtual bool SetGamePositionText(const char* text) = 0;
  // The game's board bytes themselves, for markup that stays in the game.
  virtual Board* GameBoard() = 0;

  // The board view.
  virtual void AddArrow(const char* text) = 0;
  virtual void ClearArrows() = 0;
  virtual void MarkSquares(const char* squares, uint32_t flag) = 0;
  virtual void ClearMarks(int clipKind) = 0;
  virtual bool ShowGlyph(int colour, int type, int column, int row) = 0;
  virtual void RemoveGlyphAt(int column, int row) = 0;
  virtual void ClearGlyphs() = 0;
  virtual bool PutPiece(int colour, int type, int column, int row) = 0;
  virtual bool RemovePiece(int column, int row) = 0;
  virtual bool MovePiece(int fromColumn, int fromRow, int toColumn, int toRow, bool slide) = 0;
  // Sprites set from the game's position and laid out with the hide mode.
  virtual void ResetSprites() = 0;
  virtual void InvalidateBoard(bool erase) = 0;

  virtual void SetStatusText(const char* text) = 0;
  virtual void ClearStatusText() = 0;
  // The program-wide message box; returns when the user closes it.
  virtual void ShowPauseMessage(const char* text) = 0;
  // E F I J L Q T V: the lesson's own events.
  virtual void LessonEvent(char letter, const char* text) = 0;
  // The side panel's restore calls for a panel game.
  virtual void RestorePanelGame(bool flipBack, const Board& saved) = 0;
};

int StartMarkupPlayer(VoiceClip* clip, MarkupHost* host);
int StepMarkupPlayer(VoiceClip* clip);
int StopMarkupPlayer(VoiceClip* clip);
// The queue's removal path; the clip itself stays with its owner (its
// events are freed and its flags cleared).
int EndMarkupPlayer(VoiceClip* clip);
int RestoreAfterMarkup(VoiceClip* clip);
// Time spent paused does not count toward the events' times.
void PauseVoiceClipTime(VoiceClip* clip);
void ResumeVoiceClipTime(VoiceClip* clip);

void DispatchMarkupEvent(VoiceClip* clip, const char* text);

int SetMarkupDelay(VoiceClip* clip, const char* text);
int MarkupMovePiece(VoiceClip* clip, const char* text);
int MarkupHighlightSquares(VoiceClip* clip, const char* text, uint32_t flag);
int MarkupClearHighlights(VoiceClip* clip);
int MarkupShowGlyph(VoiceClip* clip, const char* text);
int MarkupRemoveGlyphs(VoiceClip* clip, const char* text);
int MarkupAddArrows(VoiceClip* clip, const char* text);
int MarkupClearArrows(VoiceClip* clip);
int MarkupPutPiece(VoiceClip* clip, const char* text);
int MarkupRemovePiece(VoiceClip* clip, const char* text);
int MarkupCommit(VoiceClip* clip);
int MarkupSetPosition(VoiceClip* clip, const char* text);

// A two-letter piece code (W or B, then K Q R B N P, either case): colour
// (0 White, 1 Black) and piece type; false for anything else.
bool ParseMarkupPieceCode(const char* code, int* colour, int* type);
