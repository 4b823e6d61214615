// The about box: pages of text rising through a panel, the program's
// version and the page buttons. A worker thread paces the scroll by posting
// the box a step message; all drawing happens on the interface thread.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "about_pages.h"
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
const RECT kTextPanel{10, 10, 530, 376};

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
  DWORD lastPost = 0;
};

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
  InvalidateRect(box->window, &kTextPanel, FALSE);
}

// The panel: a deep blue shade with the lines in cream and the headings in
// gold, entering at the bottom and leaving at the top.
void PaintPanel(AboutBox* box, HDC dc) {
  const int width = kTextPanel.right - kTextPanel.left, height = kTextPanel.bottom - kTextPanel.top;
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
  BitBlt(dc, kTextPanel.left, kTextPanel.top, width, height, memory, 0, 0, SRCCOPY);
  SelectObject(memory, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(memory);
  RECT edge = kTextPanel;
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
  Place(dialog, 705, kTextPanel.left, 384, kTextPanel.right - kTextPanel.left, 18);
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

INT_PTR CALLBACK AboutBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  auto* box = reinterpret_cast<AboutBox*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      OnInit(dialog);
      return TRUE;
    case kScrollStep:
      if (!box) return TRUE;
      // A page that has risen out of sight starts again from the bottom.
      if (++box->scroll > box->textHeight + (kTextPanel.bottom - kTextPanel.top)) box->scroll = 0;
      InvalidateRect(dialog, &kTextPanel, FALSE);
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(dialog, &ps);
      if (box) PaintPanel(box, dc);
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
