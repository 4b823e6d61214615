// The Select Personality dialog over Win32: four cards of the card class,
// a scroll bar, the Filters and Info pages in a tab control. The list, the
// filters and the texts are the personality list core's.
#include "select_personality.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "app_globals.h"
#include "data_sets.h"
#include "personality_filter_settings.h"
#include "personality_list.h"
#include "room_pictures_win32.h"
#include "shell_services.h"

namespace {

constexpr int kKidsRoom = 2;
constexpr int kPictureSet = 1;  // the faces pack
constexpr int kCards = 4;
constexpr int kCardColumn = 1714;  // the host of the four cards
constexpr int kMargin = 8, kScrollWidth = 16, kPagesWidth = 350, kButtonHeight = 24, kButtonWidth = 90;
constexpr int kCardText = 0xEE, kCardBack = 18, kFrameOuter = 0xA4, kFrameInner = 0x4D;
constexpr int kPortraitX = 8, kPortraitY = 8, kPortraitWidth = 72;

// The boxes that show in adult mode only and in kids mode only.
constexpr int kAdultAgeBoxes[4] = {kFilter6to18, kFilter19to24, kFilter25to40, kFilterOver40};
constexpr int kKidAgeBoxes[4] = {kFilter6to8, kFilter9to11, kFilter12to14, kFilter15to18};

struct SelectState {
  HWND dialog = nullptr;
  HWND tabs = nullptr, pages[2] = {};  // Filters, Info
  HWND cards[kCards] = {};
  std::vector<PersonalityListEntry> list;
  PersonalitySelection selection;
  PersonalityListRestrictions restrictions;
  bool kidsRoom = false;
  std::map<std::string, PackedDib*> portraits;
  HFONT nameFont = nullptr;
  char* chosen = nullptr;
};
SelectState* g_state = nullptr;
// The selected entry's index in the list survives from one use to the next.
int g_lastSelected = -1;

std::string LoadText(int id, const char* fallback) {
  char text[256];
  return LoadStringA(GetModuleHandleA(nullptr), UINT(id), text, sizeof text) > 0 ? std::string(text)
                                                                                 : std::string(fallback);
}

const PersonalityListEntry* Shown(const SelectState* s, int card) {
  const int at = s->selection.top + card;
  if (at < 0 || at >= int(s->selection.passing.size())) return nullptr;
  return &s->list[size_t(s->selection.passing[size_t(at)])];
}

PackedDib* Portrait(SelectState* s, const char* picture) {
  char name[32];
  std::snprintf(name, sizeof name, "%.*s", 29, picture);
  auto found = s->portraits.find(name);
  if (found != s->portraits.end()) return found->second;
  PackedDib* dib = LoadPortrait(name);
  s->portraits[name] = dib;
  return dib;
}

// ---------------------------------------------------------------- cards

void FrameRect3(HDC dc, RECT r) {
  const int colours[3] = {kFrameOuter, kFrameInner, kFrameOuter};
  for (int line = 0; line < 3; ++line) {
    HBRUSH brush = CreateSolidBrush(PALETTEINDEX(colours[line]));
    FrameRect(dc, &r, brush);
    DeleteObject(brush);
    InflateRect(&r, -1, -1);
  }
}

void PaintCard(HWND card, HDC dc) {
  RECT client;
  GetClientRect(card, &client);
  HPALETTE palette = RoomPicturePalette();
  HPALETTE oldPalette = palette ? SelectPalette(dc, palette, FALSE) : nullptr;
  if (palette) RealizePalette(dc);
  HBRUSH back = CreateSolidBrush(PALETTEINDEX(kCardBack));
  FillRect(dc, &client, back);
  DeleteObject(back);
  SelectState* s = g_state;
  const int index = int(GetWindowLongPtrA(card, GWLP_USERDATA));
  const PersonalityListEntry* entry = s ? Shown(s, index) : nullptr;
  if (entry) {
    // A thin line between cards.
    RECT line{client.left + 4, client.bottom - 1, client.right - 4, client.bottom};
    HBRUSH rule = CreateSolidBrush(PALETTEINDEX(kFrameInner));
    FillRect(dc, &line, rule);
    DeleteObject(rule);
    DrawRoomPicture(dc, kPortraitX, kPortraitY, Portrait(s, entry->picture));
    const PersonalityCardText text = MakePersonalityCardText(*entry, LoadText(1300, "Rating").c_str());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, PALETTEINDEX(kCardText));
    HGDIOBJ oldFont = SelectObject(dc, s->nameFont ? s->nameFont : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    const int x = kPortraitX + kPortraitWidth + 8;
    RECT name{x, 10, client.right - 6, 10 + tm.tmHeight};
    DrawTextA(dc, text.name.c_str(), -1, &name, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    SelectObject(dc, HFONT(SendMessageA(s->dialog, WM_GETFONT, 0, 0)));
    int y = 10 + 16;
    if (!text.rating.empty()) {
      RECT rating{x, y + 2, client.right - 6, y + 2 + tm.tmHeight};
      DrawTextA(dc, text.rating.c_str(), -1, &rating, DT_SINGLELINE | DT_NOPREFIX);
      y += 16;
    }
    RECT caption{x, y + 8, client.right - 6, client.bottom - 6};
    DrawTextA(dc, text.caption.c_str(), -1, &caption, DT_WORDBREAK | DT_END_ELLIPSIS | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    if (s->selection.selected >= 0 && &s->list[size_t(s->selection.selected)] == entry) FrameRect3(dc, client);
  } else if (s && index == 0 && s->selection.passing.empty()) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, PALETTEINDEX(kCardText));
    HGDIOBJ oldFont = SelectObject(dc, HFONT(SendMessageA(s->dialog, WM_GETFONT, 0, 0)));
    RECT text{12, 12, client.right - 12, client.bottom - 12};
    DrawTextA(dc, LoadText(1954, "No personality passes the filters. Tick more boxes to see some.").c_str(), -1,
              &text, DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, oldFont);
  }
  if (oldPalette) SelectPalette(dc, oldPalette, FALSE);
}

LRESULT CALLBACK CardProc(HWND card, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(card, &ps);
      PaintCard(card, dc);
      EndPaint(card, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
      if (g_state && g_state->dialog)
        SendMessageA(g_state->dialog, kCardClicked, WPARAM(GetWindowLongPtrA(card, GWLP_USERDATA)), 0);
      return 0;
    case WM_LBUTTONDBLCLK:
      if (g_state && g_state->dialog) {
        SendMessageA(g_state->dialog, kCardClicked, WPARAM(GetWindowLongPtrA(card, GWLP_USERDATA)), 0);
        if (IsWindowEnabled(GetDlgItem(g_state->dialog, IDOK)))
          PostMessageA(g_state->dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      }
      return 0;
    default:
      return DefWindowProcA(card, message, wParam, lParam);
  }
}

bool RegisterCardClass(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = CardProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_HAND);
  wc.lpszClassName = kPersonalityCardClass;
  return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// ---------------------------------------------------------------- filtering

HWND FilterBox(const SelectState* s, int box) { return GetDlgItem(s->pages[0], kFilterBoxFirst + box); }

PersonalityFilters ReadBoxes(const SelectState* s) {
  PersonalityFilters f;
  for (int i = 0; i < kPersonalityFilterBoxes; ++i)
    f.ticked[i] = SendMessageA(FilterBox(s, i), BM_GETCHECK, 0, 0) == BST_CHECKED;
  return f;
}

void RedrawCards(SelectState* s) {
  for (HWND card : s->cards) InvalidateRect(card, nullptr, FALSE);
}

void FillInfo(SelectState* s) {
  const PersonalityListEntry* entry =
      s->selection.selected >= 0 ? &s->list[size_t(s->selection.selected)] : nullptr;
  const PersonalityInfoText info = MakePersonalityInfoText(entry, LoadText(1300, "Rating").c_str());
  HWND page = s->pages[1];
  SetDlgItemTextA(page, kInfoName, info.name.c_str());
  SetDlgItemTextA(page, kInfoRating, info.rating.c_str());
  SetDlgItemTextA(page, kInfoBiography, info.biography.c_str());
  SetDlgItemTextA(page, kInfoStyle, info.style.c_str());
}

void SetScroll(SelectState* s) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  si.nMin = 0;
  // Nothing to scroll when every passing card is shown: no thumb.
  const bool scrolls = int(s->selection.passing.size()) > kCards;
  si.nMax = scrolls ? s->selection.scrollMax : 0;
  si.nPage = scrolls ? UINT(s->selection.scrollPage) : 0;
  si.nPos = scrolls ? s->selection.top : 0;
  HWND bar = GetDlgItem(s->dialog, kCardScroll);
  SetScrollInfo(bar, SB_CTL, &si, TRUE);
  EnableWindow(bar, scrolls);
  InvalidateRect(bar, nullptr, TRUE);
}

void Refilter(SelectState* s) {
  FilterPersonalityList(s->list, ReadBoxes(s), s->restrictions.kids, s->kidsRoom, &s->selection);
  SetScroll(s);
  EnableWindow(GetDlgItem(s->dialog, IDOK), s->selection.okEnabled);
  RedrawCards(s);
  FillInfo(s);
}

void Scroll(SelectState* s, PersonalityScroll how, int position) {
  const int top = ScrollPersonalityCards(s->selection, how, position);
  if (top == s->selection.top) return;
  s->selection.top = top;
  SetScroll(s);
  RedrawCards(s);
}

void CardClicked(SelectState* s, int card) {
  const int at = s->selection.top + card;
  if (card < 0 || card >= kCards || at >= int(s->selection.passing.size())) return;
  s->selection.selected = s->selection.passing[size_t(at)];
  EnableWindow(GetDlgItem(s->dialog, IDOK), TRUE);
  RedrawCards(s);
  FillInfo(s);
}

// ---------------------------------------------------------------- pages

void SetUpFilterPage(SelectState* s) {
  const PersonalityFilters kept = CurrentPersonalityFilters();
  for (int i = 0; i < kPersonalityFilterBoxes; ++i)
    SendMessageA(FilterBox(s, i), BM_SETCHECK, kept.ticked[i] ? BST_CHECKED : BST_UNCHECKED, 0);
  const bool kids = s->restrictions.kids;
  for (int i = 0; i < 4; ++i) {
    ShowWindow(FilterBox(s, kAdultAgeBoxes[i]), kids ? SW_HIDE : SW_SHOW);
    ShowWindow(FilterBox(s, kKidAgeBoxes[i]), kids ? SW_SHOW : SW_HIDE);
  }
  if (kids)
    for (int box : {kFilterGrandmasters, kFilterCustom, kFilterXboard}) EnableWindow(FilterBox(s, box), FALSE);
  if (s->restrictions.rated)
    for (int box : {kFilterCustom, kFilterXboard}) EnableWindow(FilterBox(s, box), FALSE);
  if (s->restrictions.enginesOnly)
    for (int i = 0; i < kPersonalityFilterBoxes; ++i)
      if (i != kFilterXboard) EnableWindow(FilterBox(s, i), FALSE);
}

INT_PTR CALLBACK PageProc(HWND /*page*/, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkMode(HDC(wParam), TRANSPARENT);
      return INT_PTR(GetStockObject(NULL_BRUSH));
    case WM_COMMAND:
      if (g_state && LOWORD(wParam) >= kFilterBoxFirst && LOWORD(wParam) < kFilterBoxFirst + kPersonalityFilterBoxes &&
          HIWORD(wParam) == BN_CLICKED) {
        Refilter(g_state);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

void ShowPage(SelectState* s, int page) {
  if (page < 0 || page > 1) return;
  ShowWindow(s->pages[1 - page], SW_HIDE);
  SetWindowPos(s->pages[page], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

// The Info page's texts fill the page: the name and rating lines, then the
// biography and the style sharing the rest.
void LayInfoPage(HWND page) {
  RECT client;
  GetClientRect(page, &client);
  RECT line;
  GetWindowRect(GetDlgItem(page, kInfoName), &line);
  const int lineHeight = line.bottom - line.top, width = client.right - 2 * kMargin;
  int y = kMargin;
  for (int id : {kInfoName, kInfoRating}) {
    SetWindowPos(GetDlgItem(page, id), nullptr, kMargin, y, width, lineHeight, SWP_NOZORDER);
    y += lineHeight + 4;
  }
  const int rest = client.bottom - y - 2 * kMargin;
  const int biography = rest * 3 / 5;
  SetWindowPos(GetDlgItem(page, kInfoBiography), nullptr, kMargin, y, width, biography, SWP_NOZORDER);
  y += biography + kMargin;
  SetWindowPos(GetDlgItem(page, kInfoStyle), nullptr, kMargin, y, width, client.bottom - kMargin - y, SWP_NOZORDER);
}

// Pixel layout: the card column and its bar on the left, the pages and the
// buttons on the right.
void Layout(SelectState* s) {
  HWND d = s->dialog;
  const int columnHeight = kCards * kPersonalityCardHeight;
  SetWindowPos(GetDlgItem(d, kCardColumn), nullptr, kMargin, kMargin, kPersonalityCardWidth, columnHeight,
               SWP_NOZORDER);
  for (int i = 0; i < kCards; ++i)
    SetWindowPos(s->cards[i], nullptr, 0, PersonalityCardTop(i), kPersonalityCardWidth, kPersonalityCardHeight,
                 SWP_NOZORDER);
  SetWindowPos(GetDlgItem(d, kCardScroll), nullptr, kMargin + kPersonalityCardWidth, kMargin, kScrollWidth,
               columnHeight, SWP_NOZORDER);
  const int right = kMargin + kPersonalityCardWidth + kScrollWidth + kMargin;
  const int tabsHeight = columnHeight - kButtonHeight - kMargin;
  SetWindowPos(s->tabs, nullptr, right, kMargin, kPagesWidth, tabsHeight, SWP_NOZORDER);
  const int buttonsY = kMargin + columnHeight - kButtonHeight;
  SetWindowPos(GetDlgItem(d, IDCANCEL), nullptr, right + kPagesWidth - kButtonWidth, buttonsY, kButtonWidth,
               kButtonHeight, SWP_NOZORDER);
  SetWindowPos(GetDlgItem(d, IDOK), nullptr, right + kPagesWidth - 2 * kButtonWidth - kMargin, buttonsY,
               kButtonWidth, kButtonHeight, SWP_NOZORDER);
  RECT client{0, 0, right + kPagesWidth + kMargin, kMargin + columnHeight + kMargin};
  RECT window = client;
  AdjustWindowRectEx(&window, DWORD(GetWindowLongA(d, GWL_STYLE)), FALSE, DWORD(GetWindowLongA(d, GWL_EXSTYLE)));
  SetWindowPos(d, nullptr, 0, 0, window.right - window.left, window.bottom - window.top, SWP_NOMOVE | SWP_NOZORDER);
  RECT actual;
  GetClientRect(d, &actual);
  if (actual.right != client.right || actual.bottom != client.bottom)  // a skinned frame: correct once
    SetWindowPos(d, nullptr, 0, 0, window.right - window.left + client.right - actual.right,
                 window.bottom - window.top + client.bottom - actual.bottom, SWP_NOMOVE | SWP_NOZORDER);
}

void OnInit(HWND dialog, SelectState* s) {
  g_state = s;
  s->dialog = dialog;
  HINSTANCE instance = HINSTANCE(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
  HWND column = GetDlgItem(dialog, kCardColumn);
  for (int i = 0; i < kCards; ++i) {
    s->cards[i] = CreateWindowExA(0, kPersonalityCardClass, "", WS_CHILD | WS_VISIBLE, 0, PersonalityCardTop(i),
                                  kPersonalityCardWidth, kPersonalityCardHeight, column, HMENU(INT_PTR(kCardFirst + i)),
                                  instance, nullptr);
    SetWindowLongPtrA(s->cards[i], GWLP_USERDATA, i);
  }
  LOGFONTA font{};
  if (HFONT dialogFont = HFONT(SendMessageA(dialog, WM_GETFONT, 0, 0))) GetObjectA(dialogFont, sizeof font, &font);
  font.lfWeight = FW_BOLD;
  if (font.lfHeight > 0) font.lfHeight = -font.lfHeight;
  font.lfHeight = font.lfHeight ? font.lfHeight - 2 : -15;
  s->nameFont = CreateFontIndirectA(&font);

  s->tabs = GetDlgItem(dialog, kPersonalityTabs);
  s->pages[0] = CreateDialogParamA(instance, "SELECT_PERSONALITY_FILTERS", s->tabs, PageProc, 0);
  s->pages[1] = CreateDialogParamA(instance, "SELECT_PERSONALITY_INFO", s->tabs, PageProc, 1);
  const std::string titles[2] = {LoadText(1950, "Filters"), LoadText(1951, "Info")};
  for (int i = 0; i < 2; ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(titles[i].c_str());
    SendMessageA(s->tabs, TCM_INSERTITEMA, i, LPARAM(&item));
  }
  Layout(s);
  RECT display;
  GetClientRect(s->tabs, &display);
  SendMessageA(s->tabs, TCM_ADJUSTRECT, FALSE, LPARAM(&display));
  for (HWND page : s->pages)
    MoveWindow(page, display.left, display.top, display.right - display.left, display.bottom - display.top, FALSE);
  LayInfoPage(s->pages[1]);
  SendMessageA(s->tabs, TCM_SETCURSEL, 0, 0);
  ShowPage(s, 0);

  s->list = ReadPersonalityList(GetPersonalitiesFolder(), s->restrictions, GetBenchmarkScore());
  s->selection.selected = g_lastSelected < int(s->list.size()) ? g_lastSelected : -1;
  SetUpFilterPage(s);
  Refilter(s);
  HWND owner = GetParent(dialog);
  RECT area, own;
  if (owner)
    GetWindowRect(owner, &area);
  else
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  GetWindowRect(dialog, &own);
  SetWindowPos(dialog, nullptr, area.left + (area.right - area.left - (own.right - own.left)) / 2,
               area.top + (area.bottom - area.top - (own.bottom - own.top)) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void Close(HWND dialog, SelectState* s, bool ok) {
  KeepPersonalityFilters(ReadBoxes(s));
  g_lastSelected = s->selection.selected;
  int result = 0;
  if (ok && s->selection.selected >= 0) {
    const std::string name = ChosenPersonalityName(s->list[size_t(s->selection.selected)].name);
    std::snprintf(s->chosen, kChosenPersonalitySize, "%s", name.c_str());
    result = 1;
  }
  EndDialog(dialog, result);
}

void OnDestroy(SelectState* s) {
  for (auto& p : s->portraits) dibDelete(p.second);
  s->portraits.clear();
  if (s->nameFont) DeleteObject(s->nameFont);
  s->nameFont = nullptr;
  g_state = nullptr;
}

}  // namespace

int SelectPersonality(HWND owner, char* chosen, int rated, int kids, int enginesOnly, int32_t ratingCap) {
  if (!chosen || !IsDataSetOpen(kPictureSet)) return 0;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!RegisterCardClass(instance)) return 0;
  SelectState state;
  state.restrictions.rated = rated != 0;
  state.restrictions.kids = kids != 0;
  state.restrictions.enginesOnly = enginesOnly != 0;
  state.restrictions.ratingCap = ratingCap;
  state.kidsRoom = Services().getCurrentRoom() == kKidsRoom;
  state.chosen = chosen;
  const INT_PTR result =
      DialogBoxParamA(instance, kSelectPersonalityDialog, owner, SelectPersonalityDlgProc, LPARAM(&state));
  UnregisterClassA(kPersonalityCardClass, instance);
  return result == 1 ? 1 : 0;
}

INT_PTR CALLBACK SelectPersonalityDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    OnInit(dialog, reinterpret_cast<SelectState*>(lParam));
    return TRUE;
  }
  SelectState* s = g_state;
  if (!s || s->dialog != dialog) return FALSE;
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkMode(HDC(wParam), TRANSPARENT);
      return INT_PTR(GetStockObject(NULL_BRUSH));
    case WM_CTLCOLORSCROLLBAR: {
      // The bar's shaft is painted whole, so a moved thumb leaves nothing behind.
      static HBRUSH shaft = CreateSolidBrush(RGB(226, 220, 204));
      return INT_PTR(shaft);
    }
    case kCardClicked:
      CardClicked(s, int(wParam));
      return TRUE;
    case WM_VSCROLL:
      switch (LOWORD(wParam)) {
        case SB_LINEUP:
          Scroll(s, kScrollLineUp, 0);
          break;
        case SB_LINEDOWN:
          Scroll(s, kScrollLineDown, 0);
          break;
        case SB_PAGEUP:
          Scroll(s, kScrollPageUp, 0);
          break;
        case SB_PAGEDOWN:
          Scroll(s, kScrollPageDown, 0);
          break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
          Scroll(s, kScrollTo, short(HIWORD(wParam)));
          break;
        default:
          break;
      }
      return TRUE;
    case WM_MOUSEWHEEL:
      Scroll(s, short(HIWORD(wParam)) > 0 ? kScrollLineUp : kScrollLineDown, 0);
      return TRUE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == kPersonalityTabs && header->code == UINT(TCN_SELCHANGE))
        ShowPage(s, int(SendMessageA(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        Close(dialog, s, true);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        Close(dialog, s, false);
        return TRUE;
      }
      return FALSE;
    case WM_DESTROY:
      OnDestroy(s);
      return FALSE;
    default:
      return FALSE;
  }
}
