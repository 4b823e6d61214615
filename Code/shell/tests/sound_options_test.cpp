#include "sound_options.h"

#include <gtest/gtest.h>

#include <map>

TEST(SoundOptions, RadioButtonsAndChecksMapToTheSettings) {
  const std::pair<int32_t, int> radios[] = {{0, 7114}, {1, 7113}, {2, 7110}, {3, 7111}, {4, 0}, {-1, 0}};
  for (auto [value, control] : radios) EXPECT_EQ(PieceSoundsRadio(value), control) << value;

  SettingsRecord s = {};
  s.pieceSounds = 3;
  s.tutorialVoice = 1;
  std::map<int, bool> checked = {{PieceSoundsRadio(3), true}, {kCheckIllegalMove, true}, {kCheckBuddyLogin, true}};
  // "No Sounds" chosen: the first checked radio button wins.
  checked[PieceSoundsRadio(3)] = false;
  checked[kRadioNoSounds] = true;
  ApplySoundOptions(&s, [&](int c) { return checked.count(c) && checked[c]; });
  EXPECT_EQ(s.pieceSounds, 0);
  EXPECT_EQ(s.illegalMoveVoice, 1);
  EXPECT_EQ(s.buddy, 1);
  EXPECT_EQ(s.nlaVoice + s.ivaVoice + s.windowClose + s.chatTell + s.challenge, 0);
  EXPECT_EQ(s.tutorialVoice, 1);  // not on the dialog

  // None checked: piece_sounds stays; every check setting follows its box.
  s.pieceSounds = 2;
  ApplySoundOptions(&s, [](int c) { return c >= kCheckAutoAnnotation; });
  EXPECT_EQ(s.pieceSounds, 2);
  EXPECT_EQ(s.nlaVoice + s.ivaVoice + s.illegalMoveVoice + s.windowClose + s.buddy + s.chatTell + s.challenge, 7);

  // Each check button edits its own setting, once.
  SettingsRecord probe = {};
  for (const SoundOptionCheck& c : kSoundOptionChecks) ++(probe.*c.setting);
  EXPECT_EQ(probe.nlaVoice * probe.ivaVoice * probe.illegalMoveVoice * probe.windowClose * probe.buddy *
                probe.chatTell * probe.challenge,
            1);
  EXPECT_STREQ(kSoundOptionsPages[0].title, "Piece Movement");
  EXPECT_EQ(kSoundOptionsPages[2].dialog, 7140);
}
