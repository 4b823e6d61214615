// The about box: pages of text rising through a panel, the program's
// version and the page buttons. A worker thread paces the scroll by posting
// the box a step message; all drawing happens on the interface thread.
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "about_pages.h"
#include "app_globals.h"
#include "packfile.h"
#include "about_text.h"
#include "dialog_runner.h"
#include "menu_commands_win32.h"
#include "worker_thread.h"

namespace {

constexpr UINT kScrollStep = 0xB24;
constexpr UINT_PTR kPictureTimer = 2;
constexpr DWORD kStepMs = 35;
constexpr int kClientWidth = 540, kClientHeight = 440;
constexpr int kLineHeight = 18, kHeadingHeight = 24;
// With pictures the text takes the right part; without, the whole width.
const RECT kWidePanel{10, 10, 530, 376};
const RECT kNarrowPanel{210, 10, 530, 376};
const RECT kPicturePanel{10, 10, 200, 376};
constexpr int kMaxPictures = 50;
// Shown only on the staff page.
const char* const kStaffPictures[7] = {"staffRules.bmp",  "staffEngine.bmp",   "staffBoards.bmp", "staffRooms.bmp",
                                       "staffSound.bmp",  "staffPictures.bmp", "staffTests.bmp"};

struct Picture {
  std::string name;
  void* dib;      // from the pack: header, colours, pixels
  bool ordinary;  // not a staff picture
};

struct AboutBox {
  HWND window = nullptr;
  AboutPage page = AboutPage::kAbout;
  std::vector<AboutLine> lines;
  std::string version;
  int scroll = 0;  // pixels the text has risen since the page began
  int textHeight = 0;
  HFONT font = nullptr, heading = nullptr;
  WorkerThread* pacer = nullptr;
  volatile LONG running = 0;
  DatIndex* pack = nullptr;
  std::vector<Picture> pictures;
  int current = -1;
  bool staffPage = false;
  StaffClickCounter staffClicks;
  RECT panel = kWidePanel;
  int pictureLines = 0;  // "P" lines already passed on the way up
};

bool IsStaffPicture(const std::string& name) {
  for (const char* staff : kStaffPictures)
    if (lstrcmpiA(staff, name.c_str()) == 0) return true;
  return false;
}

// The pictures of the about pack, shuffled; none when the pack is missing.
void LoadPictures(AboutBox* box) {
  char index[MAX_PATH + 16], items[MAX_PATH + 16];
  std::snprintf(index, sizeof index, "%s\\about.idx", GetProgramFolder());
  std::snprintf(items, sizeof items, "%s\\about.dat", GetProgramFolder());
  box->pack = datLoadFileIndex(index);
  if (!box->pack) return;
  for (int i = 0; i < box->pack->count && int(box->pictures.size()) < kMaxPictures; ++i) {
    std::string name = box->pack->entries[i].name;
    std::string upper = name;
    for (char& c : upper) c = char(toupper(static_cast<unsigned char>(c)));
    if (upper.find(".BMP") == std::string::npos) continue;
    DatIndexEntry info{};
    void* dib = datLoadBitmap(index, items, name.c_str(), box->pack, &info);
    if (dib) box->pictures.push_back({name, dib, !IsStaffPicture(name)});
  }
  std::mt19937 random(GetTickCount());
  const size_t n = box->pictures.size();
  for (int i = 0; n > 1 && i < 1000; ++i) std::swap(box->pictures[random() % n], box->pictures[random() % n]);
  for (size_t i = 0; i < n; ++i)
    if (box->pictures[i].ordinary) {
      box->current = int(i);
      break;
    }
  if (box->current >= 0) box->panel = kNarrowPanel;
}

void FreePictures(AboutBox* box) {
  for (Picture& p : box->pictures) datUnloadItem(p.dib);
  box->pictures.clear();
  datUnloadFileIndex(box->pack);
  box->pack = nullptr;
}

int FindPicture(const AboutBox* box, const std::string& name) {
  for (size_t i = 0; i < box->pictures.size(); ++i)
    if (lstrcmpiA(box->pictures[i].name.c_str(), name.c_str()) == 0) return int(i);
  return -1;
}

// Where the current picture stands in the dialog, centred in its panel.
RECT PictureRect(const AboutBox* box) {
  RECT r{0, 0, 0, 0};
  if (box->current < 0) return r;
  const auto* header = static_cast<const BITMAPINFOHEADER*>(box->pictures[box->current].dib);
  const int w = header->biWidth, h = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  r.left = (kPicturePanel.left + kPicturePanel.right - w) / 2;
  r.top = (kPicturePanel.top + kPicturePanel.bottom - h) / 2;
  r.right = r.left + w;
  r.bottom = r.top + h;
  return r;
}

void ShowPicture(AboutBox* box, int index) {
  if (index < 0 || index == box->current) return;
  box->current = index;
  InvalidateRect(box->window, &kPicturePanel, FALSE);
  UpdateWindow(box->window);
}

void NextPicture(AboutBox* box) {
  const int n = int(box->pictures.size());
  if (box->current < 0 || n == 0) return;
  for (int step = 1; step <= n; ++step) {
    const int i = (box->current + step) % n;
    if (box->pictures[i].ordinary || box->staffPage) {
      box->current = -1;
      ShowPicture(box, i);
      return;
    }
  }
}

void PaintPicture(AboutBox* box, HDC dc) {
  COLORREF backdrop = RGB(20, 24, 46);
  const BITMAPINFO* info = nullptr;
  const char* bits = nullptr;
  if (box->current >= 0) {
    info = static_cast<const BITMAPINFO*>(box->pictures[box->current].dib);
    const BITMAPINFOHEADER& h = info->bmiHeader;
    const size_t colours = h.biBitCount <= 8 ? (h.biClrUsed ? h.biClrUsed : (1u << h.biBitCount)) : 0;
    bits = reinterpret_cast<const char*>(info) + h.biSize + colours * sizeof(RGBQUAD);
    // The panel takes the picture's top-left colour, so the picture's own
    // backdrop runs on without a seam.
    if (h.biBitCount == 8 && h.biHeight > 0) {
      const int stride = ((h.biWidth * 8 + 31) / 32) * 4;
      const uint8_t corner = static_cast<uint8_t>(bits[size_t(stride) * size_t(h.biHeight - 1)]);
      const RGBQUAD q = info->bmiColors[corner];
      backdrop = RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
    }
  }
  HBRUSH back = CreateSolidBrush(backdrop);
  FillRect(dc, &kPicturePanel, back);
  DeleteObject(back);
  if (info) {
    const BITMAPINFOHEADER& h = info->bmiHeader;
    const RECT r = PictureRect(box);
    const int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    StretchDIBits(dc, r.left, r.top, h.biWidth, height, 0, 0, h.biWidth, height, bits, info, DIB_RGB_COLORS,
                  SRCCOPY);
  }
  RECT edge = kPicturePanel;
  InflateRect(&edge, 1, 1);
  DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
}

std::string FileVersion() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &handle);
  if (!size) return "";
  std::vector<char> block(size);
  if (!GetFileVersionInfoA(path, 0, size, block.data())) return "";
  char* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), "\\StringFileInfo\\040904E4\\FileVersion", reinterpret_cast<void**>(&value),
                      &length) ||
      !value)
    return "";
  return value;
}

int LineHeight(const AboutLine& line) { return line.align == AboutAlign::kHeading ? kHeadingHeight : kLineHeight; }

void LoadPage(AboutBox* box, AboutPage page) {
  box->page = page;
  box->lines = LayOutAboutPage(AboutPageSource(page), page == AboutPage::kCredits, "Version " + box->version);
  box->textHeight = 0;
  for (const AboutLine& line : box->lines) box->textHeight += LineHeight(line);
  box->scroll = 0;
  box->pictureLines = 0;
  InvalidateRect(box->window, &box->panel, FALSE);
}

// A "P" line that has come up into the panel makes its picture current.
void PassPictureLines(AboutBox* box) {
  const int height = box->panel.bottom - box->panel.top;
  int y = height - box->scroll, seen = 0;
  for (const AboutLine& line : box->lines) {
    if (y >= height) break;
    if (line.align == AboutAlign::kPicture && ++seen > box->pictureLines) {
      box->pictureLines = seen;
      ShowPicture(box, FindPicture(box, line.text));
    }
    y += LineHeight(line);
  }
}

// The panel: a deep blue shade with the lines in cream and the headings in
// gold, entering at the bottom and leaving at the top.
void PaintPanel(AboutBox* box, HDC dc) {
  const RECT& panel = box->panel;
  const int width = panel.right - panel.left, height = panel.bottom - panel.top;
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
  HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
  for (int y = 0; y < height; y += 2) {
    const int shade = 24 + 40 * y / height;
    HBRUSH brush = CreateSolidBrush(RGB(shade / 3, shade / 2, shade + 30));
    RECT row{0, y, width, y + 2};
    FillRect(memory, &row, brush);
    DeleteObject(brush);
  }
  SetBkMode(memory, TRANSPARENT);
  int y = height - box->scroll;
  for (const AboutLine& line : box->lines) {
    const int h = LineHeight(line);
    if (y + h > 0 && y < height && line.align != AboutAlign::kPicture) {
      const bool heading = line.align == AboutAlign::kHeading;
      HGDIOBJ oldFont = SelectObject(memory, heading ? box->heading : box->font);
      SetTextColor(memory, heading ? RGB(240, 200, 96) : RGB(244, 236, 214));
      RECT r{12, y, width - 12, y + h};
      UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
      if (line.align == AboutAlign::kLeft) format |= DT_LEFT;
      else if (line.align == AboutAlign::kRight) format |= DT_RIGHT;
      else format |= DT_CENTER;
      DrawTextA(memory, line.text.c_str(), -1, &r, format);
      SelectObject(memory, oldFont);
    }
    y += h;
  }
  BitBlt(dc, panel.left, panel.top, width, height, memory, 0, 0, SRCCOPY);
  SelectObject(memory, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(memory);
  RECT edge = panel;
  InflateRect(&edge, 1, 1);
  DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
}

uint32_t Pace(void* argument) {
  auto* box = static_cast<AboutBox*>(argument);
  Sleep(kStepMs);
  if (!box->running) return 0;
  PostMessageA(box->window, kScrollStep, 0, 0);
  return 1;
}

void Place(HWND dialog, int id, int x, int y, int w, int h) {
  if (HWND control = GetDlgItem(dialog, id)) SetWindowPos(control, nullptr, x, y, w, h, SWP_NOZORDER);
}

void OnInit(HWND dialog) {
  auto* box = new AboutBox;
  box->window = dialog;
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(box));
  // The client area takes the panel and the row of buttons below it.
  RECT window, client;
  GetWindowRect(dialog, &window);
  GetClientRect(dialog, &client);
  const int w = kClientWidth + (window.right - window.left) - client.right;
  const int h = kClientHeight + (window.bottom - window.top) - client.bottom;
  HWND owner = GetWindow(dialog, GW_OWNER);
  RECT centre{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (owner) GetWindowRect(owner, &centre);
  SetWindowPos(dialog, nullptr, (centre.left + centre.right - w) / 2, (centre.top + centre.bottom - h) / 2, w, h,
               SWP_NOZORDER);
  LoadPictures(box);
  Place(dialog, 705, box->panel.left, 384, box->panel.right - box->panel.left, 18);
  Place(dialog, 701, 10, 406, 80, 24);
  Place(dialog, 702, 98, 406, 80, 24);
  Place(dialog, 703, 186, 406, 80, 24);
  Place(dialog, IDOK, 450, 406, 80, 24);
  box->version = FileVersion();
  if (!box->version.empty()) SetDlgItemTextA(dialog, 705, ("Version " + box->version).c_str());
  box->font = CreateFontA(-15, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, ANTIALIASED_QUALITY, 0,
                          "RookwellOnyx");
  box->heading = CreateFontA(-19, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, ANTIALIASED_QUALITY, 0,
                             "RookwellOnyx");
  LoadPage(box, AboutPage::kAbout);
  SetTimer(dialog, kPictureTimer, 5000, nullptr);
  box->running = 1;
  box->pacer = StartWorkerThread("BITMAP_TIMER_THREAD", box, Pace, nullptr, nullptr);
}

void Close(HWND dialog, AboutBox* box) {
  KillTimer(dialog, kPictureTimer);
  box->running = 0;
  if (box->pacer) StopWorkerThread(box->pacer, 2000);
  box->pacer = nullptr;
  EndDialog(dialog, 1);
}

INT_PTR CALLBACK AboutBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* box = reinterpret_cast<AboutBox*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      OnInit(dialog);
      return TRUE;
    case kScrollStep:
      if (!box) return TRUE;
      // A page that has risen out of sight starts again from the bottom.
      if (++box->scroll > box->textHeight + (box->panel.bottom - box->panel.top)) {
        box->scroll = 0;
        box->pictureLines = 0;
      }
      PassPictureLines(box);
      InvalidateRect(dialog, &box->panel, FALSE);
      return TRUE;
    case WM_TIMER:
      if (box && wParam == kPictureTimer) NextPicture(box);
      return TRUE;
    case WM_RBUTTONDOWN: {
      if (!box || box->current < 0) return FALSE;
      const RECT r = PictureRect(box);
      const POINT p{short(LOWORD(lParam)), short(HIWORD(lParam))};
      if (!PtInRect(&r, p)) return FALSE;
      const std::string& name = box->pictures[box->current].name;
      // The earlier edition's box would start that edition from the pack;
      // the shipped pack holds no such program, so the click does nothing.
      if (lstrcmpiA(name.c_str(), "boxOnyx.bmp") == 0 &&
          box->staffClicks.Click(p.x - r.left, p.y - r.top)) {
        box->staffPage = true;
        LoadPage(box, AboutPage::kStaff);
        SetTimer(dialog, kPictureTimer, 5000, nullptr);  // the page's own pictures first
      }
      return TRUE;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(dialog, &ps);
      if (box) {
        PaintPanel(box, dc);
        if (box->current >= 0) PaintPicture(box, dc);
      }
      EndPaint(dialog, &ps);
      return TRUE;
    }
    case WM_COMMAND:
      if (!box) return FALSE;
      switch (LOWORD(wParam)) {
        case 701:
          LoadPage(box, AboutPage::kAbout);
          return TRUE;
        case 702:
          LoadPage(box, AboutPage::kCredits);
          return TRUE;
        case 703:
          LoadPage(box, AboutPage::kHistory);
          return TRUE;
        case IDOK:
        case IDCANCEL:
          Close(dialog, box);
          return TRUE;
      }
      return FALSE;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE && box) {
        Close(dialog, box);
        return TRUE;
      }
      return FALSE;
    case WM_DESTROY:
      if (box) {
        box->running = 0;
        if (box->pacer) StopWorkerThread(box->pacer, 2000);
        FreePictures(box);
        DeleteObject(box->font);
        DeleteObject(box->heading);
        SetWindowLongPtrA(dialog, DWLP_USER, 0);
        delete box;
      }
      return FALSE;
  }
  return FALSE;
}

}  // namespace

INT_PTR ShowAboutBox(HWND owner) {
  return DoModalDialog(GetModuleHandleA(nullptr), "CREDITBOX", owner, AboutBoxProc, 0, 1);
}
