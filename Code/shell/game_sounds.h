// The short event sounds of the program (fifteen named game sounds played
// through the system's sound service), the choice of sound or spoken text
// for a played move, and the fallback beep.
//
// Everything the choice needs from outside comes through GameSoundHost, so
// the rules run and are tested without a system; game_sounds_win32.cpp fills
// the sound-service part with PlaySoundA and the user's sound scheme.
//
// Interface: GameSoundHost, SetGameSoundHost, PlayGameSound,
// GetSoundFileName, GetGameSoundName, PlayChessBeep, MoveTypeSoundNumber,
// PlayMoveTypeSound, SpeakMove, PlayMoveSound, DebugTrace.
#pragma once

#include <functional>
#include <string>

struct Board;
struct MoveRecord;

enum GameSound {
  kSoundWhiteMove = 0, kSoundBlackMove, kSoundCheck, kSoundCheckmate, kSoundCapture, kSoundCastle,
  kSoundPromotion, kSoundDraw, kSoundChessBeep, kSoundIllegalMove, kSoundTell, kSoundAnnounce,
  kSoundChallenge, kSoundBuddyLogin, kSoundWindowClose, kGameSoundCount
};

// The sound service's flags, as PlaySoundA takes them.
enum : unsigned {
  kSndAsync = 0x0001, kSndNoDefault = 0x0002, kSndNoStop = 0x0010, kSndApplication = 0x0080,
  kSndFilename = 0x00020000
};

constexpr int kMovesDataSet = 5;
constexpr int kWhiteSide = 16;
constexpr unsigned kIllegalMoveFlags = 0xFFFF;

struct GameSoundHost {
  // The sound service.
  std::function<bool(const char* name)> schemeHasSound;  // a sound assigned to this program's event
  std::function<bool(const char* nameOrPath, unsigned flags)> playSound;
  std::function<void()> messageBeep;
  std::string programFolder;
  // Settings and the voice-clip service.
  std::function<int()> pieceSounds;
  std::function<bool()> illegalMoveVoice;
  std::function<bool(int set)> dataSetOpen;
  std::function<bool()> voiceClipSpeaking;
  std::function<void()> stopVoiceClip;
  std::function<void(int set, const std::string& text)> startVoiceClip;
  // The commentary: an illegal move explained, and a move as a spoken line.
  std::function<std::string(const Board* position, int side, int from, int to)> explainIllegalMove;
  std::function<std::string(const MoveRecord* move, const Board* position, int side)> spokenMove;
};

void SetGameSoundHost(const GameSoundHost& host);
GameSoundHost& GetGameSoundHost();

int PlayGameSound(int n);
const char* GetSoundFileName(int n);
const char* GetGameSoundName(int n);
int PlayChessBeep();
int MoveTypeSoundNumber(unsigned flags, int side);
void PlayMoveTypeSound(const MoveRecord* move, int side);
void SpeakMove(const MoveRecord* move, const Board* position, int side);
int PlayMoveSound(const MoveRecord* move, const Board* position, int side);
void DebugTrace(const char* format, ...);

#ifdef _WIN32
// Fills the host's sound-service part with the system's (game_sounds_win32).
void UseSystemSoundService(GameSoundHost* host, const std::string& programFolder);
bool GameSchemeHasSound(const char* name);
#endif
