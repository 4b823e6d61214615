// The main frame's and the splash screen's arithmetic, kept apart from
// Win32 so that it is tested natively: which rectangle the frame opens at,
// its tracking limits, where the splash goes, how the frame answers the
// toolkit's notices, and how the status line is split into parts.
//
// Interface: ChooseFrameRect, CentreOnDesktop, NotifyAnswer,
// StatusPartRights, ProgressPosition.
#pragma once

namespace shell {

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
};

// The frame may not be dragged smaller or larger than these.
constexpr int kFrameMinTrackWidth = 320, kFrameMinTrackHeight = 280;
constexpr int kFrameMaxTrackWidth = 1600, kFrameMaxTrackHeight = 1280;
// Where the frame opens when its stored place cannot be used.
constexpr Rect kFrameDefaultRect{0, 0, 800, 600};

// The frame's opening rectangle: the stored one when it is not empty and
// fits the screen in both directions; else the default, and *reset tells
// the other windows to take their default places too.
Rect ChooseFrameRect(const Rect* stored, int screenWidth, int screenHeight, bool* reset);

// A width x height rectangle centred on the desktop (integer halves); a
// picture larger than the desktop starts at negative coordinates.
Rect CentreOnDesktop(const Rect& desktop, int width, int height);

// The main frame's answer to a toolkit notice: code 2 (a framed window asks
// to close) answers 1 and plays the close sound only when that sound is
// switched on; codes 0, 1 and 3..9 answer 0; codes above 9 answer 1.
int NotifyAnswer(unsigned code, bool closeSoundOn, bool* playCloseSound);

// Right edges of the status line's parts for a bar `width` pixels wide in
// room `room`: three parts at 60, 80 and 99 per cent (less 10 pixels) in
// rooms 1..7, one part at 99 per cent in the lobby (room 0) and in any room
// number outside the table. Returns the number of parts written (1 or 3).
int StatusPartRights(int room, int width, int rights[3]);

// A progress percentage as the status line's progress part takes it: its
// range is 0..100, so the value is the percentage itself, held in range.
int ProgressPosition(int percent);

}  // namespace shell
