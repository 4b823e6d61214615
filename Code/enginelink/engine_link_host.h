// What the engine link needs from the program around it: personalities of
// the game room, settings and string texts, debug windows, the thinking-line
// window, private messages to windows, the opening book and the commentary.
// The shell installs one host; every call has a harmless default, so the
// engine link is tested without windows.
//
// Interface: EnginePersonality, EngineLinkHost, SetEngineLinkHost,
// GetEngineLinkHost.
#pragma once

#include <cstdint>

#include "board.h"
#include "moverecord.h"

struct GameRecord;
struct PlayerRecord;

constexpr int32_t kOutsideEngineKind = 178;

// A personality as the engine link reads it.
struct EnginePersonality {
  char name[64];
  int32_t engineKind;  // 178: an outside engine that speaks the protocol
  char enginePath[256];
  char commandLine[256];
  int32_t ponder;
  int32_t strength;
  int32_t values[2][5];  // [0 opponent, 1 own][p, n, b, r, q]
  int32_t weights[5];    // cc, mob, ks, pp, pw
  int32_t cfd, sop, avd, rnd, sel, md;
  int32_t hashBytes;  // PersonalityHashBytes
  int32_t ttu;
};

// Numbered windows and private messages used here.
constexpr int kThinkingLinesWindow = 8;
constexpr int kBestLineWindow = 9;
constexpr int kAdvisorMonitorWindow = 26;
constexpr int kWhiteMonitorWindow = 25;
constexpr int kBlackMonitorWindow = 24;
constexpr uint32_t kMsgAdviceState = 0x8106;
constexpr uint32_t kMsgAnalysisState = 0x8107;
constexpr uint32_t kMsgSolveForMate = 0x8108;
constexpr uint32_t kMsgGameEvent = 0x8103;

class EngineLinkHost {
 public:
  virtual ~EngineLinkHost() = default;

  // Game room: the player's personality; false when it has none.
  virtual bool GetPersonality(const PlayerRecord* /*player*/, EnginePersonality* /*out*/) { return false; }
  // The built-in engine's path, written back into the personality.
  virtual void SetPersonalityEnginePath(PlayerRecord* /*player*/, const char* /*path*/) {}

  // Shell: settings file, program folder (with its trailing separator or
  // none), string table.
  virtual int ReadSettingInt(const char* /*section*/, const char* /*key*/, int fallback) { return fallback; }
  virtual const char* ProgramFolder() { return "."; }
  // Null: the engine link's own English text.
  virtual const char* StringText(int /*number*/) { return nullptr; }

  // Debug windows of the engines and the thinking-lines window.
  virtual bool IsDebugWindowShown(int /*window*/) { return false; }
  virtual void ShowDebugWindow(int /*window*/, bool /*show*/, int /*menuCommand*/) {}
  virtual void WriteDebugWindow(int /*window*/, const char* /*text*/) {}
  virtual void MarkThinkingChanged(int /*colour*/) {}
  virtual void MarkStatusChanged(int /*colour*/) {}
  virtual void PostBestLineUpdate() {}

  // Private messages: to the numbered windows 4-27 (posted), and to one
  // request window (sent).
  virtual void PostToNumberedWindows(uint32_t /*message*/, uintptr_t /*wParam*/, intptr_t /*lParam*/) {}
  virtual void SendToWindow(void* /*window*/, uint32_t /*message*/, uintptr_t /*wParam*/,
                            intptr_t /*lParam*/) {}
  // Posted to one request window from any thread; a host without windows
  // of its own hands it to the numbered windows.
  virtual void PostToWindow(void* /*window*/, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    PostToNumberedWindows(message, wParam, lParam);
  }

  // An engine that ended by itself while its game went on.
  virtual void EngineEnded(GameRecord* /*game*/, int /*side*/) {}

  // Opening book: does it know the position after these moves from the
  // initial position?
  virtual bool LookupBookPosition(const MoveRecord* /*moves*/, int /*count*/) { return false; }
  // Commentary: the advice text for a position and line (false when none
  // could be made), and the annotation of an analysed game.
  virtual bool ComposeAdviceText(const Board* /*position*/, int /*side*/, const MoveRecord* /*line*/,
                                 int /*count*/, bool /*explain*/, int /*style*/, char* /*out*/,
                                 int /*size*/) {
    return false;
  }
  // Markup groups of commentary text: the text without them, and only them.
  virtual void StripMarkup(const char* text, char* out, int size);
  virtual void ExtractMarkup(const char* text, char* out, int size);
  // The commentary composer over an analysed stretch of a game; calls
  // `comment` for each commented move (ply index from 0) and -1 for the
  // game's start comment. False when no composer is present.
  virtual bool AnnotateAnalysedGame(const struct AnnotationRequest& /*request*/) { return false; }
  // The composer's score thresholds in centipawns.
  virtual void SetAnnotatorThresholds(int /*slightly*/, int /*better*/, int /*much*/) {}
};

// One analysed ply of a game; a book move has score 0 and length -1.
struct AnalysedPly {
  int16_t score;  // the engine's score of the position before the move, White's view
  MoveRecord line[50];
  int16_t lineLength;
};

struct AnnotationRequest {
  const Board* position;  // before moves[0]
  int side;               // WHITE or BLACK to move there
  const MoveRecord* moves;
  int count;
  int firstPly;
  const AnalysedPly* plies;  // count + 1 records
  int style;
  int summaryNumber;  // seconds per move
  int winner;         // 16 White, 32 Black, 0 draw, -1 no result
  bool bookChecking;
  void (*comment)(int plyIndex, const char* text, void* context);
  void* context;
};

// Null restores the default host.
void SetEngineLinkHost(EngineLinkHost* host);
EngineLinkHost* GetEngineLinkHost();
