#include "sound_options.h"

const SoundOptionsPage kSoundOptionsPages[3] = {
    {7141, "Piece Movement"},
    {7142, "Voice"},
    {7140, "Effects"},
};

const SoundOptionCheck kSoundOptionChecks[7] = {
    {kCheckAutoAnnotation, 1, &SettingsRecord::ivaVoice},
    {kCheckNaturalAdvice, 1, &SettingsRecord::nlaVoice},
    {kCheckIllegalMove, 1, &SettingsRecord::illegalMoveVoice},
    {kCheckWindowClose, 2, &SettingsRecord::windowClose},
    {kCheckBuddyLogin, 2, &SettingsRecord::buddy},
    {kCheckTellChat, 2, &SettingsRecord::chatTell},
    {kCheckChallenge, 2, &SettingsRecord::challenge},
};

namespace {
// Radio buttons in the order OK reads them, with the value each stands for.
const struct {
  int control;
  int32_t value;
} kRadios[] = {{kRadioSpokenMoves, 2}, {kRadioSoundSets, 3}, {kRadioSimpleSound, 1}, {kRadioNoSounds, 0}};
}  // namespace

int PieceSoundsRadio(int32_t pieceSounds) {
  for (const auto& r : kRadios)
    if (r.value == pieceSounds) return r.control;
  return 0;
}

void ApplySoundOptions(SettingsRecord* settings, const std::function<bool(int control)>& isChecked) {
  if (!settings || !isChecked) return;
  for (const auto& r : kRadios) {
    if (isChecked(r.control)) {
      settings->pieceSounds = r.value;
      break;
    }
  }
  for (const SoundOptionCheck& c : kSoundOptionChecks) settings->*c.setting = isChecked(c.control) ? 1 : 0;
}
