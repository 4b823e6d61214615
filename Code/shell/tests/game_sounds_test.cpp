#include "game_sounds.h"

#include <gtest/gtest.h>

#include <set>

#include "moverecord.h"

namespace {

struct Seam {
  std::vector<std::string> played;  // what reached the sound service
  std::vector<std::string> spoken;
  std::set<std::string> scheme;     // names with a sound assigned
  bool busy = false;                // a sound is playing: no-stop requests fail
  bool speaking = false;
  bool movesOpen = false;
  bool illegalVoice = false;
  int pieceSounds = 3;
  int beeps = 0;

  Seam() {
    GameSoundHost h;
    h.programFolder = "C:\\Rookwell";
    h.schemeHasSound = [this](const char* n) { return scheme.count(n) != 0; };
    h.playSound = [this](const char* what, unsigned flags) {
      if (busy && (flags & kSndNoStop)) return false;
      played.push_back(what);
      return true;
    };
    h.messageBeep = [this] { ++beeps; };
    h.pieceSounds = [this] { return pieceSounds; };
    h.illegalMoveVoice = [this] { return illegalVoice; };
    h.dataSetOpen = [this](int set) { return set == kMovesDataSet && movesOpen; };
    h.voiceClipSpeaking = [this] { return speaking; };
    h.stopVoiceClip = [] {};
    h.startVoiceClip = [this](int, const std::string& t) { spoken.push_back(t); };
    h.explainIllegalMove = [](const Board*, int, int from, int to) {
      return "illegal " + std::to_string(from) + "-" + std::to_string(to);
    };
    h.spokenMove = [](const MoveRecord* m, const Board*, int) { return "move " + std::to_string(m->to); };
    SetGameSoundHost(h);
  }
  ~Seam() { SetGameSoundHost(GameSoundHost()); }
};

MoveRecord Move(unsigned flags) {
  MoveRecord m = {};
  m.from = 0x06;
  m.to = 0x25;
  m.flags = uint16_t(flags);
  return m;
}

}  // namespace

TEST(GameSounds, MoveTypeChoice) {
  const struct {
    unsigned flags;
    int side;
    const char* name;
  } cases[] = {
      {0x08 | 0x80, 16, "Check"},      {0x400 | 0x80, 16, "Checkmate"}, {0x04 | 0x08, 16, "Promotion"},
      {0x10, 16, "Castle"},            {0x20, 8, "Castle"},             {0x100, 8, "Capture"},
      {0x08, 16, "Capture"},           {0, 16, "WhiteMove"},            {0, 8, "BlackMove"},
      {0xFFFF, 16, "IllegalMove"},     {0x40, 0, "BlackMove"},
  };
  for (const auto& c : cases)
    EXPECT_STREQ(GetGameSoundName(MoveTypeSoundNumber(c.flags, c.side)), c.name) << std::hex << c.flags;
}

TEST(GameSounds, NamesInTheSchemeElseTheProgramFolderFile) {
  Seam seam;
  seam.scheme = {"Check"};
  EXPECT_EQ(PlayGameSound(kSoundCheck), 1);
  EXPECT_EQ(PlayGameSound(kSoundCapture), 1);
  EXPECT_EQ(seam.played, (std::vector<std::string>{"Check", "C:\\Rookwell\\capture.wav"}));
  EXPECT_EQ(PlayGameSound(15), 0);
  EXPECT_EQ(PlayGameSound(-1), 0);
  EXPECT_EQ(GetSoundFileName(15), nullptr);
  EXPECT_STREQ(GetSoundFileName(14), "close.wav");
  // A sound still playing is never cut off: the request is dropped.
  seam.busy = true;
  seam.played.clear();
  EXPECT_EQ(PlayGameSound(kSoundCheck), 0);
  EXPECT_TRUE(seam.played.empty());
  // The beep: its name when assigned, else the system beep.
  seam.busy = false;
  EXPECT_EQ(PlayChessBeep(), 1);
  EXPECT_EQ(seam.beeps, 1);
  seam.scheme.insert("ChessBeep");
  PlayChessBeep();
  EXPECT_EQ(seam.beeps, 1);
  EXPECT_EQ(seam.played.back(), "ChessBeep");
}

TEST(GameSounds, PlayMoveSoundBySettings) {
  Seam seam;
  MoveRecord illegal = Move(0xFFFF), quiet = Move(0), check = Move(0x80);
  // Illegal, commentary off, thematic sounds: the illegal-move sound.
  EXPECT_EQ(PlayMoveSound(&illegal, nullptr, 16), 1);
  EXPECT_EQ(seam.played.back(), "C:\\Rookwell\\illegal.wav");
  // Commentary on but the moves data set closed: still the sound.
  seam.illegalVoice = true;
  PlayMoveSound(&illegal, nullptr, 16);
  EXPECT_TRUE(seam.spoken.empty());
  seam.movesOpen = true;
  EXPECT_EQ(PlayMoveSound(&illegal, nullptr, 16), 1);
  EXPECT_EQ(seam.spoken.back(), "illegal 6-37");
  // Spoken moves with the data set closed fall back to the move-type sound.
  seam.pieceSounds = 2;
  seam.movesOpen = false;
  seam.played.clear();
  EXPECT_EQ(PlayMoveSound(&check, nullptr, 8), 1);
  EXPECT_EQ(seam.played, std::vector<std::string>{"C:\\Rookwell\\check.wav"});
  seam.movesOpen = true;
  EXPECT_EQ(PlayMoveSound(&quiet, nullptr, 8), 1);
  EXPECT_EQ(seam.spoken.back(), "move 37");
  // While a clip speaks, silence.
  seam.speaking = true;
  seam.played.clear();
  size_t spoken = seam.spoken.size();
  EXPECT_EQ(PlayMoveSound(&quiet, nullptr, 8), 0);
  EXPECT_TRUE(seam.played.empty());
  EXPECT_EQ(seam.spoken.size(), spoken);
  seam.speaking = false;
  // No sounds, simple sound, an unknown setting.
  seam.pieceSounds = 0;
  EXPECT_EQ(PlayMoveSound(&quiet, nullptr, 16), 0);
  seam.pieceSounds = 1;
  EXPECT_EQ(PlayMoveSound(&quiet, nullptr, 16), 1);
  EXPECT_EQ(seam.beeps, 1);
  seam.pieceSounds = 7;
  seam.played.clear();
  EXPECT_EQ(PlayMoveSound(&quiet, nullptr, 16), 1);
  EXPECT_TRUE(seam.played.empty());
}
