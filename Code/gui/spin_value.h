// The arithmetic of the spin edit, free of the window system: the creation
// text "minimum:maximum:value:step", clamping, the scroll actions of the
// arrows and keys, reading the number typed in the field and the vertical
// inset that centres the text. spinedit_wnd.cpp puts it on windows.
//
// Interface: SpinValues, SpinScrollCode, speParseCreationText, speClamp,
// speSetRange, speScroll, speReadText, speCouldReach, speTextInset.
#pragma once

#include <cstdint>

// The numeric part of a spin edit's record, in the record's order.
struct SpinValues {
  int32_t minimum;
  int32_t value;
  int32_t maximum;
  int32_t firstMinimum;  // the range as first set (creation text or range message)
  int32_t firstMaximum;
  int32_t step;  // always 1 or more
};

// The scroll codes the spin edit acts on (the system's SB_ codes).
enum SpinScrollCode : int {
  kSpinLineUp = 0,
  kSpinLineDown = 1,
  kSpinPageUp = 2,
  kSpinPageDown = 3,
  kSpinTop = 6,     // the minimum
  kSpinBottom = 7,  // the maximum
};

// Reads up to four integers separated by any run of blanks, ":" or ",":
// minimum, maximum, value, step; missing ones are 0. Equal bounds (an empty
// text too) give 0 to 100 with value 0. The value is not clamped. Numbers
// beyond the 32-bit range saturate; bounds given the wrong way round are
// swapped; a step of 0 becomes 1 and a negative one its magnitude.
SpinValues speParseCreationText(const char* text);

// The value brought into [minimum, maximum].
int32_t speClamp(const SpinValues& v, int64_t value);

// A new range (also the first-set range), step 1, bounds put in order.
void speSetRange(SpinValues* v, int32_t minimum, int32_t maximum);

// The value a scroll code leads to: line codes move one step, page codes
// ten (page up snaps to the maximum once the result reaches maximum - 10,
// page down to the minimum once it reaches it), top and bottom go to the
// ends; the result stays within the range. Returns false for other codes,
// and for top and bottom when the value is already there.
bool speScroll(const SpinValues& v, int code, int32_t* out);

// The number at the start of the field's text (at most its first 9
// characters): optional sign, then decimal digits; anything else ends it, so
// "12.7" reads 12. Sets *empty when the text is empty.
int32_t speReadText(const char* text, bool* empty);

// Whether typing more digits after the text could still give a number
// within the range (a field may show "5" on the way to 50 in 10..255).
// False for text that more digits would not change ("5.", "5a") and when
// the first 9 characters are used up.
bool speCouldReach(const SpinValues& v, const char* text);

// How far the edit's formatting rectangle moves down so that a line of
// textHeight is centred in clientHeight: half the difference, rounded up,
// never negative.
int speTextInset(int clientHeight, int textHeight);
