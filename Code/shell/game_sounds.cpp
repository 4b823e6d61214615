#include "game_sounds.h"

#include <cstdio>

#include "moverecord.h"

namespace {

struct Row {
  const char* name;
  char file[256];
};

Row g_rows[kGameSoundCount] = {
    {"WhiteMove", "wmove.wav"},    {"BlackMove", "bmove.wav"},   {"Check", "check.wav"},
    {"Checkmate", "mate.wav"},     {"Capture", "capture.wav"},   {"Castle", "castle.wav"},
    {"Promotion", "promo.wav"},    {"Draw", "draw.wav"},         {"ChessBeep", "bell.wav"},
    {"IllegalMove", "illegal.wav"}, {"Tell", "chattell.wav"},    {"Announce", "announce.wav"},
    {"Challenge", "gamechal.wav"}, {"BuddyLogin", "buddy.wav"},  {"WindowClose", "close.wav"},
};

GameSoundHost& Host() {
  static GameSoundHost host;
  return host;
}

template <typename F, typename... A>
auto Call(const F& f, A... a) -> decltype(f(a...)) {
  using R = decltype(f(a...));
  if (!f) return R();
  return f(a...);
}

}  // namespace

void SetGameSoundHost(const GameSoundHost& host) { Host() = host; }
GameSoundHost& GetGameSoundHost() { return Host(); }

const char* GetSoundFileName(int n) { return n >= 0 && n < kGameSoundCount ? g_rows[n].file : nullptr; }
const char* GetGameSoundName(int n) { return n >= 0 && n < kGameSoundCount ? g_rows[n].name : nullptr; }

int PlayGameSound(int n) {
  if (n < 0 || n >= kGameSoundCount) return 0;
  const GameSoundHost& h = Host();
  // The name only when the user's scheme assigns a sound to it: the system
  // may report success for an unassigned name and then play nothing.
  if (Call(h.schemeHasSound, g_rows[n].name) &&
      Call(h.playSound, g_rows[n].name, unsigned(kSndApplication | kSndNoStop | kSndNoDefault | kSndAsync)))
    return 1;
  std::string path = h.programFolder + "\\" + g_rows[n].file;
  return Call(h.playSound, path.c_str(), unsigned(kSndFilename | kSndNoStop | kSndNoDefault | kSndAsync)) ? 1 : 0;
}

int PlayChessBeep() {
  const GameSoundHost& h = Host();
  const char* name = g_rows[kSoundChessBeep].name;
  if (Call(h.schemeHasSound, name) && Call(h.playSound, name, unsigned(kSndApplication | kSndAsync))) return 1;
  if (h.messageBeep) h.messageBeep();
  return 1;
}

int MoveTypeSoundNumber(unsigned flags, int side) {
  if (flags == kIllegalMoveFlags) return kSoundIllegalMove;
  if (flags & 0x400) return kSoundCheckmate;
  if (flags & 0x80) return kSoundCheck;
  if (flags & 0x07) return kSoundPromotion;
  if (flags & (0x08 | 0x100)) return kSoundCapture;
  if (flags & (0x10 | 0x20)) return kSoundCastle;
  return side == kWhiteSide ? kSoundWhiteMove : kSoundBlackMove;
}

void PlayMoveTypeSound(const MoveRecord* move, int side) {
  if (move) PlayGameSound(MoveTypeSoundNumber(move->flags, side));
}

void SpeakMove(const MoveRecord* move, const Board* position, int side) {
  const GameSoundHost& h = Host();
  if (!move) return;
  Call(h.stopVoiceClip);
  if (move->flags == kIllegalMoveFlags) {
    PlayMoveTypeSound(move, side);
    return;
  }
  std::string text = Call(h.spokenMove, move, position, side);
  if (text.size() > 255) text.resize(255);
  Call(h.startVoiceClip, kMovesDataSet, text);
}

int PlayMoveSound(const MoveRecord* move, const Board* position, int side) {
  const GameSoundHost& h = Host();
  if (!move || Call(h.voiceClipSpeaking)) return 0;
  if (move->flags == kIllegalMoveFlags && Call(h.illegalMoveVoice) && Call(h.dataSetOpen, kMovesDataSet)) {
    Call(h.stopVoiceClip);
    std::string text = Call(h.explainIllegalMove, position, side, int(move->from), int(move->to));
    if (text.size() > 511) text.resize(511);
    Call(h.startVoiceClip, kMovesDataSet, text);
    return 1;
  }
  switch (Call(h.pieceSounds)) {
    case 0: return 0;
    case 1: PlayChessBeep(); return 1;
    case 2:
      if (Call(h.dataSetOpen, kMovesDataSet))
        SpeakMove(move, position, side);
      else
        PlayMoveTypeSound(move, side);
      return 1;
    case 3: PlayMoveTypeSound(move, side); return 1;
    default: return 1;
  }
}

void DebugTrace(const char*, ...) {}
