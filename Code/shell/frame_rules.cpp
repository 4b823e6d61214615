// The main frame's and the splash screen's arithmetic (see frame_rules.h).
#include "frame_rules.h"

namespace shell {

Rect ChooseFrameRect(const Rect* stored, int screenWidth, int screenHeight, bool* reset) {
  const bool usable =
      stored && !stored->Empty() && stored->Width() <= screenWidth && stored->Height() <= screenHeight;
  if (reset) *reset = !usable;
  return usable ? *stored : kFrameDefaultRect;
}

Rect CentreOnDesktop(const Rect& desktop, int width, int height) {
  const int cx = desktop.left + desktop.Width() / 2;
  const int cy = desktop.top + desktop.Height() / 2;
  Rect r;
  r.left = cx - width / 2;
  r.top = cy - height / 2;
  r.right = r.left + width;
  r.bottom = r.top + height;
  return r;
}

int NotifyAnswer(unsigned code, bool closeSoundOn, bool* playCloseSound) {
  if (playCloseSound) *playCloseSound = false;
  if (code == 2) {
    if (!closeSoundOn) return 0;
    if (playCloseSound) *playCloseSound = true;
    return 1;
  }
  return code > 9 ? 1 : 0;
}

int StatusPartRights(int room, int width, int rights[3]) {
  // Per cent of the width at which each part ends, by room. The lobby shows
  // one long part; a room number outside the table is treated as the lobby
  // rather than read past the table's end.
  static const int kRoomPercent[3] = {60, 80, 99};
  if (room < 1 || room > 7) {
    rights[0] = width * 99 / 100 - 10;
    return 1;
  }
  for (int i = 0; i < 3; ++i) rights[i] = width * kRoomPercent[i] / 100 - 10;
  return 3;
}

int ProgressPosition(int percent) { return percent < 0 ? 0 : percent > 100 ? 100 : percent; }

}  // namespace shell
