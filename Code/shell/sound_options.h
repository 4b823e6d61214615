// The sound options dialog's rules, with no window: its pages, which control
// edits which setting, the radio button a piece_sounds value checks, and
// what OK writes back. The dialog procedures read and set the controls
// through these tables.
//
// Interface: kSoundOptionsDialog, kSoundOptionsPages, kSoundOptionChecks,
// PieceSoundsRadio, ApplySoundOptions.
#pragma once

#include <cstdint>
#include <functional>

#include "app_globals.h"

enum SoundOptionsIds {
  kSoundOptionsDialog = 7139,
  kSoundOptionsTab = 7100,
  kRadioSpokenMoves = 7110,
  kRadioSoundSets = 7111,
  kRadioSimpleSound = 7113,
  kRadioNoSounds = 7114,
  kCheckAutoAnnotation = 7131,
  kCheckNaturalAdvice = 7132,
  kCheckIllegalMove = 7133,
  kCheckWindowClose = 7135,
  kCheckBuddyLogin = 7136,
  kCheckTellChat = 7137,
  kCheckChallenge = 7138,
};

struct SoundOptionsPage {
  int dialog;
  const char* title;
};
// In tab order.
extern const SoundOptionsPage kSoundOptionsPages[3];

struct SoundOptionCheck {
  int control;
  int page;
  int32_t SettingsRecord::*setting;
};
extern const SoundOptionCheck kSoundOptionChecks[7];

// The radio button checked for a piece_sounds value (0 for a value none shows).
int PieceSoundsRadio(int32_t pieceSounds);
// OK: piece_sounds from the first checked radio button of spoken moves,
// sound sets, simple sound, no sounds (unchanged when none is), and each
// check button's setting 1 or 0.
void ApplySoundOptions(SettingsRecord* settings, const std::function<bool(int control)>& isChecked);
