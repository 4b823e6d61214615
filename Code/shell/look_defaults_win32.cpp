// The window and control defaults as the program installs them: every
// picture by its Skinres id (skin_ids.h, made with the skin), every colour
// by its program palette index. The toolkit replaces the ids by the
// pictures when the records are handed over.
#include <cstring>

#include "frame_links.h"
#include "look_and_feel.h"
#include "skin_ids.h"

namespace {

// Words 23..72 of a frame set, in the toolkit's order: system-menu icon,
// minimize, maximize, close, restore and toggle (normal, pressed), the
// caption's three pieces active then inactive, the four edges (three
// pieces, the same for both looks) and the corners (both looks alike).
#define SKIN_FRAME_WORDS(P, TOGGLE, TOGGLE_PRESSED)                                                         \
  {SKIN_##P##_SYSMENU, SKIN_##P##_SYSMENU, SKIN_##P##_MIN, SKIN_##P##_MIN_PRESSED, SKIN_##P##_MAX,           \
   SKIN_##P##_MAX_PRESSED, SKIN_##P##_CLOSE, SKIN_##P##_CLOSE_PRESSED, SKIN_##P##_RESTORE,                     \
   SKIN_##P##_RESTORE_PRESSED, TOGGLE, TOGGLE_PRESSED, SKIN_##P##_CAPTION_START, SKIN_##P##_CAPTION_MIDDLE,   \
   SKIN_##P##_CAPTION_END, SKIN_##P##_CAPTION_INACTIVE_START, SKIN_##P##_CAPTION_INACTIVE_MIDDLE,              \
   SKIN_##P##_CAPTION_INACTIVE_END, SKIN_##P##_LEFT_FIRST, SKIN_##P##_LEFT_MIDDLE, SKIN_##P##_LEFT_LAST,       \
   SKIN_##P##_LEFT_FIRST, SKIN_##P##_LEFT_MIDDLE, SKIN_##P##_LEFT_LAST, SKIN_##P##_RIGHT_FIRST,                \
   SKIN_##P##_RIGHT_MIDDLE, SKIN_##P##_RIGHT_LAST, SKIN_##P##_RIGHT_FIRST, SKIN_##P##_RIGHT_MIDDLE,            \
   SKIN_##P##_RIGHT_LAST, SKIN_##P##_TOP_FIRST, SKIN_##P##_TOP_MIDDLE, SKIN_##P##_TOP_LAST,                    \
   SKIN_##P##_TOP_FIRST, SKIN_##P##_TOP_MIDDLE, SKIN_##P##_TOP_LAST, SKIN_##P##_BOTTOM_FIRST,                  \
   SKIN_##P##_BOTTOM_MIDDLE, SKIN_##P##_BOTTOM_LAST, SKIN_##P##_BOTTOM_FIRST, SKIN_##P##_BOTTOM_MIDDLE,        \
   SKIN_##P##_BOTTOM_LAST, SKIN_##P##_CORNER_TOPLEFT, SKIN_##P##_CORNER_TOPLEFT, SKIN_##P##_CORNER_TOPRIGHT,   \
   SKIN_##P##_CORNER_TOPRIGHT, SKIN_##P##_CORNER_BOTTOMLEFT, SKIN_##P##_CORNER_BOTTOMLEFT,                     \
   SKIN_##P##_CORNER_BOTTOMRIGHT, SKIN_##P##_CORNER_BOTTOMRIGHT}

constexpr int kFrameWords = 50;  // words 23..72; word 73 is the client background
const int kSizableWords[kFrameWords] = SKIN_FRAME_WORDS(SIZABLE, SKIN_SIZABLE_TOGGLE, SKIN_SIZABLE_TOGGLE_PRESSED);
const int kBorderWords[kFrameWords] = SKIN_FRAME_WORDS(BORDER, 0, 0);
const int kDialogWords[kFrameWords] = SKIN_FRAME_WORDS(DIALOG, SKIN_DIALOG_TOGGLE, SKIN_DIALOG_TOGGLE_PRESSED);
const int kMainWords[kFrameWords] = SKIN_FRAME_WORDS(MAIN, SKIN_MAIN_TOGGLE, SKIN_MAIN_TOGGLE_PRESSED);

template <typename T>
T* Id(int id) {
  return reinterpret_cast<T*>(static_cast<uintptr_t>(id));
}

void FillSet(CwFrameBitmapSet* s, HINSTANCE skin, const int* words, int background) {
  std::memset(s, 0, sizeof *s);
  s->present = skin ? 1 : 0;
  s->module = skin;
  for (int i = 0; i < kFrameWords; ++i) s->pieces[i] = Id<PackedDib>(words[i]);
  s->pieces[FW_BACKGROUND - FW_FIRST_BITMAP] = Id<PackedDib>(background);
}

// The three frame sets of the window defaults share their caption text:
// drawn at paint time, two pixels down, active black and inactive grey.
void FillDefaultSet(CwFrameBitmapSet* s, HINSTANCE skin, const int* words) {
  FillSet(s, skin, words, SKIN_CLIENT_BACKGROUND);
  s->font = cguiGetFont(kBoldFontSlot);
  s->textY = 2;
  s->textMode = 1;
  s->textColour[0] = 23;
  s->textColour[1] = 242;
}

void FillMenuLook(CwMenuLook* m) {
  std::memset(m, 0, sizeof *m);
  m->present = 1;
  m->imageFrame = 1;
  m->barKind = 3;  // bar text rendered into the item pictures
  std::strcpy(m->face, kProgramFontFace);
  m->font = cguiGetFont(kDialogFontSlot);
  m->points = 11;
  m->gap = 1;
  m->normalX = 4;
  m->hotX = 5;
  m->barText = m->barTextHot = m->itemText = 238;
  m->itemTextHighlighted = 37;
  m->background = 18;
  m->highlightFill = 145;
  m->grayText = m->grayTextHighlighted = 137;
  m->spareColour = 191;
  const int bar[3] = {SKIN_MENU_BAR_0, SKIN_MENU_BAR_1, SKIN_MENU_BAR_2};
  const int item[3] = {SKIN_MENU_BAR_ITEM_0, SKIN_MENU_BAR_ITEM_1, SKIN_MENU_BAR_ITEM_2};
  const int hot[3] = {SKIN_MENU_BAR_ITEM_HOT_0, SKIN_MENU_BAR_ITEM_HOT_1, SKIN_MENU_BAR_ITEM_HOT_2};
  const int separator[3] = {SKIN_MENU_SEPARATOR_0, SKIN_MENU_SEPARATOR_1, SKIN_MENU_SEPARATOR_2};
  for (int i = 0; i < 3; ++i) {
    m->barBackground[i] = Id<PackedDib>(bar[i]);
    m->barItem[i] = Id<PackedDib>(item[i]);
    m->barItemHot[i] = Id<PackedDib>(hot[i]);
    m->separator[i] = Id<PackedDib>(separator[i]);
  }
  const int frame[8] = {SKIN_MENU_FRAME_0, SKIN_MENU_FRAME_1, SKIN_MENU_FRAME_2, SKIN_MENU_FRAME_3,
                        SKIN_MENU_FRAME_4, SKIN_MENU_FRAME_5, SKIN_MENU_FRAME_6, SKIN_MENU_FRAME_7};
  for (int i = 0; i < 8; ++i) m->frame[i] = Id<PackedDib>(frame[i]);
  m->check[0] = Id<PackedDib>(SKIN_MENU_CHECK_0);
  m->check[1] = Id<PackedDib>(SKIN_MENU_CHECK_1);
  m->arrow[0] = Id<PackedDib>(SKIN_MENU_ARROW_0);
  m->arrow[1] = Id<PackedDib>(SKIN_MENU_ARROW_1);
  // A menu item's help line is string 8000 + its command id, shown in
  // part 0 of the status line.
  m->statusText = 1;
  m->statusBase = 8000;
  m->statusModule = GetFrameLinks().programInstance();
  m->statusPart = 0;
}

void FillStatusLook(CwStatusLook* s) {
  std::memset(s, 0, sizeof *s);
  s->present = 1;
  std::strcpy(s->face, kProgramFontFace);
  s->points = 10;
  s->font = cguiGetFont(kStatusFontSlot);
  s->separator = Id<PackedDib>(SKIN_STATUS_SEPARATOR);
  s->progressColour = 192;
  s->textColour = 238;
}

template <size_t N>
void Ids(CcBitmap (&fields)[N], const int (&ids)[N]) {
  for (size_t i = 0; i < N; ++i) fields[i] = CcBitmapId(uintptr_t(ids[i]));
}

void ControlBorder(HWND window, RECT* rect, CcDefaults* defaults) { PaintControlBorder(window, rect, defaults); }

}  // namespace

void FillMainFrameSet(CwFrameBitmapSet* set, HINSTANCE skin) {
  FillSet(set, skin, kMainWords, 0);  // caption text mode 0: the title is not drawn
}

void FillWindowDefaults(CwDefaults* d, HINSTANCE skin, HPALETTE palette) {
  d->resourceModule = skin;
  d->appMainWindow = nullptr;  // the main frame registers itself
  if (palette) d->palette = palette;
  d->mapColours = 1;
  if (!skin) return;  // no pictures: plain frames, no menu or status look
  FillDefaultSet(&d->sizable, skin, kSizableWords);
  FillDefaultSet(&d->border, skin, kBorderWords);
  FillDefaultSet(&d->dialog, skin, kDialogWords);
  FillMenuLook(&d->menuLook);
  FillStatusLook(&d->statusLook);
}

void FillControlDefaults(CcDefaults* d, HINSTANCE skin, HPALETTE palette) {
  d->resourceModule = skin;
  d->mapColours = 1;
  const char* folder = GetFrameLinks().programFolder();
  if (std::strlen(folder) + 2 <= sizeof d->programFolder) {
    std::strcpy(d->programFolder, folder);
    std::strcat(d->programFolder, "\\");
  }
  if (palette) d->palette = palette;
  d->font = cguiGetFont(kDialogFontSlot);

  // Borders: the program's painter, light 191 over dark 20.
  d->ncPainter = ControlBorder;
  d->ncFrameWidth = 1;
  d->lightEdge = 191;
  d->darkEdge = 20;

  // Buttons: text in the program font, dark text, greyed when disabled.
  std::strcpy(d->buttonFace, kProgramFontFace);
  d->buttonFontSlot = kDialogFontSlot;
  d->buttonTextValues[0] = 16;
  d->textColourMode = 1;
  const uintptr_t buttonText[4] = {238, 238, 238, 137};
  std::memcpy(d->buttonTextColours, buttonText, sizeof buttonText);
  d->groupCaptionColour = 238;
  d->captionShadow = -1;
  Ids(d->checkImages, {SKIN_CHECK_0, SKIN_CHECK_1, SKIN_CHECK_2, SKIN_CHECK_3, SKIN_CHECK_4});
  Ids(d->radioImages, {SKIN_RADIO_0, SKIN_RADIO_1, SKIN_RADIO_2, SKIN_RADIO_3, SKIN_RADIO_4});
  Ids(d->pushLeft, {SKIN_PUSH_LEFT_0, SKIN_PUSH_LEFT_1, SKIN_PUSH_LEFT_2, SKIN_PUSH_LEFT_3});
  Ids(d->pushMiddle, {SKIN_PUSH_MIDDLE_0, SKIN_PUSH_MIDDLE_1, SKIN_PUSH_MIDDLE_2, SKIN_PUSH_MIDDLE_3});
  Ids(d->pushRight, {SKIN_PUSH_RIGHT_0, SKIN_PUSH_RIGHT_1, SKIN_PUSH_RIGHT_2, SKIN_PUSH_RIGHT_3});

  // Edit fields and the spin edit.
  d->editBackground = 191;
  d->editText = 238;
  Ids(d->editFrame.pieces, {SKIN_EDIT_FRAME_0, SKIN_EDIT_FRAME_1, SKIN_EDIT_FRAME_2, SKIN_EDIT_FRAME_3,
                            SKIN_EDIT_FRAME_4, SKIN_EDIT_FRAME_5, SKIN_EDIT_FRAME_6, SKIN_EDIT_FRAME_7});
  d->spinEdit[0] = 1000;  // the spin edit's own edit field
  d->spinEdit[1] = SKIN_SPIN_UP_ID;
  d->spinEdit[2] = SKIN_SPIN_DOWN_ID;
  d->spinEdit[3] = SKIN_SPIN_ARROW_0;

  // Combo box: its button shows the combo button picture.
  d->comboButtonWidth = 16;
  d->comboEditHeight = 20;
  d->comboButtonId = SKIN_COMBO_BUTTON_0;

  // Painted scroll bars.
  CcScrollBarSection& sb = d->scrollBar;
  sb.notLoaded = 1;
  Ids(sb.verticalArrows, {SKIN_SCROLL_V_ARROWS_0, SKIN_SCROLL_V_ARROWS_1, SKIN_SCROLL_V_ARROWS_2,
                          SKIN_SCROLL_V_ARROWS_3, SKIN_SCROLL_V_ARROWS_4, SKIN_SCROLL_V_ARROWS_5});
  Ids(sb.verticalThumb, {SKIN_SCROLL_V_THUMB_0, SKIN_SCROLL_V_THUMB_1, SKIN_SCROLL_V_THUMB_2, SKIN_SCROLL_V_THUMB_3,
                         SKIN_SCROLL_V_THUMB_4, SKIN_SCROLL_V_THUMB_5, SKIN_SCROLL_V_THUMB_6, SKIN_SCROLL_V_THUMB_7,
                         SKIN_SCROLL_V_THUMB_8});
  Ids(sb.horizontalArrows, {SKIN_SCROLL_H_ARROWS_0, SKIN_SCROLL_H_ARROWS_1, SKIN_SCROLL_H_ARROWS_2,
                            SKIN_SCROLL_H_ARROWS_3, SKIN_SCROLL_H_ARROWS_4, SKIN_SCROLL_H_ARROWS_5});
  Ids(sb.horizontalThumb, {SKIN_SCROLL_H_THUMB_0, SKIN_SCROLL_H_THUMB_1, SKIN_SCROLL_H_THUMB_2});
  Ids(sb.trackBitmaps, {SKIN_SCROLL_TRACKS_0, SKIN_SCROLL_TRACKS_1, SKIN_SCROLL_TRACKS_2, SKIN_SCROLL_TRACKS_3,
                        SKIN_SCROLL_TRACKS_4, SKIN_SCROLL_TRACKS_5});

  // Tabs.
  d->tabBody = CcBitmapId(SKIN_TAB_BODY_0);
  Ids(d->tabPairs, {SKIN_TAB_PAIRS_0, SKIN_TAB_PAIRS_1, SKIN_TAB_PAIRS_2, SKIN_TAB_PAIRS_3, SKIN_TAB_PAIRS_4,
                    SKIN_TAB_PAIRS_5});
  d->tabTextSelected = 238;
  d->tabTextNormal = 238;
  d->tabTextDisabled = 137;

  // Lists, trees and list views: light row text on dark rows, dark text on
  // the gold selection.
  d->listBackground = 243;
  d->listSelection = 84;
  d->listValue = 84;
  d->listText = 45;
  d->listSelectedText = 23;
  Ids(d->listFrame.pieces, {SKIN_LIST_FRAME_0, SKIN_LIST_FRAME_1, SKIN_LIST_FRAME_2, SKIN_LIST_FRAME_3,
                            SKIN_LIST_FRAME_4, SKIN_LIST_FRAME_5, SKIN_LIST_FRAME_6, SKIN_LIST_FRAME_7});
  Ids(d->treeBitmaps, {SKIN_TREE_0, SKIN_TREE_1});

  // Track bar and list view header.
  d->trackBackground = 191;
  d->trackThumb = 145;
  d->trackChannel = 20;

  // Colour text: row text on the row background, the current entry in the
  // highlight colours.
  d->colorTextBackground = 243;
  d->colorTextText = 45;
  d->colorTextSelection = 145;
  d->colorTextSelectedText = 37;
}
