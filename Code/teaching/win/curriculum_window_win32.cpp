// The curriculum window: tab control with four picture tabs, five pages of
// category buttons and trees, launching and recording results.
#include "curriculum_window_win32.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app_globals.h"
#include "data_sets.h"
#include "dibkit.h"
#include "dibkit_gdi.h"
#include "heapkit.h"
#include "lesson_window_win32.h"
#include "look_and_feel.h"
#include "main_loop.h"
#include "message_box.h"
#include "packfile.h"
#include "room_switch.h"
#include "teaching_board_win32.h"
#include "window_order_win32.h"
#include "users.h"
#include "window_table.h"

namespace {

constexpr int kCurriculumDialog = 6120;
constexpr int kFirstPageDialog = 6121;
constexpr int kTabControl = 601;
constexpr int kKidsLaunch = 609;
constexpr int kPages = 5;
constexpr int kKidsPage = 4;
constexpr int kTreeBase = 602;
constexpr int kFirstCategory = 21690;
constexpr int kLastCategory = 21735;
constexpr int kTutorialVoiceSet = 3;  // the coach's voice set "tnaudio"
constexpr UINT kDeferredShowMessage = WM_APP + 22;
constexpr UINT_PTR kOrderTimer = 1;

const int kCategoryOrder[] = {21690, 21695, 21730, 21735, 21700, 21705, 21710, 21715, 21725};
const int kInitialCategory[kPages] = {21690, 21690, 21725, 21730, 21690};
const char* const kTabPictures[4] = {"CURRICULUM_BEGINNING", "CURRICULUM_INTERMEDIATE", "CURRICULUM_ADVANCED",
                                     "CURRICULUM_TARN"};

struct TreeNode {
  const CurriculumEntry* entry;
  std::vector<int> path;
};

struct Page {
  HWND window = nullptr;
  HWND tree = nullptr;
  std::vector<CurriculumEntry> roots;
  std::vector<std::unique_ptr<TreeNode>> nodes;
};

HWND g_window = nullptr;
HINSTANCE g_instance = nullptr;
Page g_pages[kPages];
int g_tab = 0;
std::string g_text;
bool g_textLoaded = false;
bool g_ready = false;
HIMAGELIST g_checks = nullptr;
HIMAGELIST g_tabImages = nullptr;
PackedDib* g_tile = nullptr;
bool g_hidden[4] = {};  // kids room: Game Status, Captured, Shortcuts, Coach
int32_t g_kidsCounters[3] = {};
CurriculumLaunchHooks g_hooks;

bool InKidsRoom() { return GetRoomNumber() == ROOM_KIDS; }
int VisiblePage() { return InKidsRoom() ? kKidsPage : g_tab; }

// A picture of the resource library, or of the tutorial data set.
PackedDib* LoadPicture(const char* name) {
  void* data = nullptr;
  uint32_t tag = 0, stored = 0, size = 0;
  const std::string item = std::string(name) + ".bmp";
  if (LoadDataItem(item.c_str(), 2, &data, &tag, &stored, &size) && data) {
    PackedDib* copy = dibDuplicate(static_cast<PackedDib*>(data));
    datUnloadItem(data);
    return copy;
  }
  return nullptr;
}

HBITMAP BitmapOf(PackedDib* dib, int width, int height) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT r{0, 0, width, height};
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (dib) dibDisplayRGB(dc, 0, 0, width, height, 0, 0, dib);
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

void AddImage(HIMAGELIST list, const char* name, int width, int height) {
  PackedDib* dib = LoadPicture(name);
  HBITMAP bitmap = BitmapOf(dib, width, height);
  ImageList_Add(list, bitmap, nullptr);
  DeleteObject(bitmap);
  if (dib) dibDelete(dib);
}

const std::string& CurriculumText() {
  if (!g_textLoaded) {
    void* data = nullptr;
    uint32_t size = 0;
    if (ReadProgramFile("CURRICULUM.DAT", &data, &size) && data) {
      g_text.assign(static_cast<const char*>(data), size);
      memFree_rel(data);
    }
    g_textLoaded = true;
  }
  return g_text;
}

// The user's progress, read from and written back to the current user.
struct ProfileProgress : CurriculumUserRecord {
  CurriculumProgress progress{};
  ProfileProgress() {
    if (UserProfile* u = GetUserRecord()) {
      std::memcpy(progress.slots, u->table, sizeof progress.slots);
      std::memcpy(progress.pairs, u->pairs, sizeof progress.pairs);
      // The kids room counters live in the record's spare bytes, where the
      // master class reads them.
      std::memcpy(g_kidsCounters, u->reserved, sizeof g_kidsCounters);
    }
    progress.kidsTutorials = g_kidsCounters[0];
    progress.kidsRuns = g_kidsCounters[1];
    progress.kidsGames = g_kidsCounters[2];
  }
  CurriculumProgress& Progress() override { return progress; }
  void Save() override {
    g_kidsCounters[0] = progress.kidsTutorials;
    g_kidsCounters[1] = progress.kidsRuns;
    g_kidsCounters[2] = progress.kidsGames;
    UserProfile* u = GetUserRecord();
    if (!u) return;
    std::memcpy(u->table, progress.slots, sizeof progress.slots);
    std::memcpy(u->pairs, progress.pairs, sizeof progress.pairs);
    std::memcpy(u->reserved, g_kidsCounters, sizeof g_kidsCounters);
    if (u->name[0]) WriteUserFile(u);
  }
};

int SelectedCategory(HWND page) {
  for (int id : kCategoryOrder)
    if (GetDlgItem(page, id) && IsDlgButtonChecked(page, id) == BST_CHECKED) return id;
  return 0;
}

TreeNode* NodeOf(HWND tree, HTREEITEM item) {
  if (!item) return nullptr;
  TVITEMA tv{};
  tv.mask = TVIF_PARAM;
  tv.hItem = item;
  if (!TreeView_GetItem(tree, &tv)) return nullptr;
  return reinterpret_cast<TreeNode*>(tv.lParam);
}

TreeNode* SelectedNode(int page) {
  HWND tree = g_pages[page].tree;
  return tree ? NodeOf(tree, TreeView_GetSelection(tree)) : nullptr;
}

void UpdateImages(HWND tree, HTREEITEM item, const CurriculumProgress& progress) {
  for (; item; item = TreeView_GetNextSibling(tree, item)) {
    if (TreeNode* node = NodeOf(tree, item)) {
      const CurriculumItem& it = node->entry->item;
      if (it.kind != kCurriculumHeader && it.kind != kCurriculumMessage) {
        TVITEMA tv{};
        tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        tv.hItem = item;
        tv.iImage = tv.iSelectedImage = CurriculumItemCompleted(it, progress) ? 0 : 1;
        TreeView_SetItem(tree, &tv);
      }
    }
    UpdateImages(tree, TreeView_GetChild(tree, item), progress);
  }
}

void InsertEntries(Page& page, HTREEITEM parent, const std::vector<CurriculumEntry>& list,
                   const std::vector<int>& parentPath, const CurriculumProgress& progress) {
  for (size_t i = 0; i < list.size(); ++i) {
    auto node = std::make_unique<TreeNode>();
    node->entry = &list[i];
    node->path = parentPath;
    node->path.push_back(static_cast<int>(i));
    const CurriculumItem& it = list[i].item;
    TVINSERTSTRUCTA ins{};
    ins.hParent = parent;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    ins.item.pszText = const_cast<char*>(it.title.c_str());
    ins.item.lParam = reinterpret_cast<LPARAM>(node.get());
    // Headers and messages get no picture: an index past the list draws none.
    const bool marked = it.kind != kCurriculumHeader && it.kind != kCurriculumMessage;
    ins.item.iImage = ins.item.iSelectedImage = !marked ? 2 : CurriculumItemCompleted(it, progress) ? 0 : 1;
    HTREEITEM item = TreeView_InsertItem(page.tree, &ins);
    TreeView_EnsureVisible(page.tree, item);
    InsertEntries(page, item, list[i].children, node->path, progress);
    page.nodes.push_back(std::move(node));
  }
}

void UpdateButtons() {
  if (!g_window) return;
  TreeNode* node = SelectedNode(VisiblePage());
  const bool launchable = node && CurriculumItemLaunchable(node->entry->item);
  EnableWindow(GetDlgItem(g_window, IDOK), launchable);
  EnableWindow(GetDlgItem(g_window, kKidsLaunch), launchable);
}

void ShowDamaged() {
  const char* text = "An error has occurred while processing the Curriculum Data file. Some Classroom courses may "
                     "not be available due to this error.";
  AppMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

void FillTree(int index) {
  Page& page = g_pages[index];
  if (!page.tree) return;
  TreeView_DeleteAllItems(page.tree);
  page.nodes.clear();
  page.roots.clear();
  const char* category = CurriculumCategoryWord(SelectedCategory(page.window));
  const char* level = CurriculumLevelWord(index);
  if (!category || !level) return;
  const CurriculumRead read = ReadCurriculumSection(CurriculumText(), level, category, &page.roots);
  if (read != CurriculumRead::Ok) {
    page.roots.clear();
    // A damaged section leaves its tree empty; the rest of the curriculum
    // stays usable.
    if (g_ready) ShowDamaged();
    return;
  }
  ProfileProgress progress;
  InsertEntries(page, TVI_ROOT, page.roots, {}, progress.progress);
  if (HTREEITEM first = TreeView_GetRoot(page.tree)) {
    TreeView_Expand(page.tree, first, TVE_EXPAND);
    TreeView_SelectItem(page.tree, first);
  }
  UpdateButtons();
}

void Launch() {
  const int index = VisiblePage();
  TreeNode* node = SelectedNode(index);
  if (!node || !CurriculumItemLaunchable(node->entry->item)) return;
  const bool kids = InKidsRoom();
  const CurriculumLaunch launch =
      DecideCurriculumLaunch(g_pages[index].roots, node->path, index, kids, GetCoachGamesFolder());
  HWND main = GetParent(g_window) ? GetParent(g_window) : GetWindow(g_window, GW_OWNER);
  if (launch.action == CurriculumLaunch::CoachGame && !IsDataSetOpen(kTutorialVoiceSet)) return;
  ShowCurriculumWindow(0, 1);
  auto missing = [] {
    AppMessageBox("This part of the classroom is not available yet.", MB_OK | MB_ICONINFORMATION);
    ShowCurriculumWindow(1, 1);
  };
  switch (launch.action) {
    case CurriculumLaunch::Lesson:
      OpenTutorial(*launch.item, launch.startPage, main, launch.mode);
      break;
    case CurriculumLaunch::Drill:
      if (g_hooks.startDrill) g_hooks.startDrill(main, launch.item->first, launch.item->second & 0xFF);
      else missing();
      break;
    case CurriculumLaunch::Exercise:
      if (g_hooks.startCheckmatePractice) g_hooks.startCheckmatePractice(main, launch.item->first);
      else missing();
      break;
    case CurriculumLaunch::CoachGame:
      if (g_hooks.createGamePanel) g_hooks.createGamePanel(main, g_instance, launch.gamePath.c_str());
      else missing();
      break;
    case CurriculumLaunch::Practice:
      if (g_hooks.runPracticeOpenings) g_hooks.runPracticeOpenings(main, g_instance);
      else missing();
      break;
    case CurriculumLaunch::Message: {
      char text[1024] = "";
      LoadStringA(g_instance, static_cast<UINT>(node->entry->item.progress), text, sizeof text);
      AppMessageBox(text, MB_OK | MB_ICONINFORMATION);
      ShowCurriculumWindow(1, 1);
      break;
    }
    default:
      ShowCurriculumWindow(1, 1);
      break;
  }
}

void PaintTile(HWND window, HDC dc) {
  RECT r;
  GetClientRect(window, &r);
  if (!g_tile) {
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    return;
  }
  if (HPALETTE palette = GetAppPalette()) {
    SelectPalette(dc, palette, TRUE);
    RealizePalette(dc);
  }
  // The tile lines up with the tab control's corner on every page.
  const int w = static_cast<int>(reinterpret_cast<const BITMAPINFOHEADER*>(g_tile)->biWidth);
  const int h = std::abs(static_cast<int>(reinterpret_cast<const BITMAPINFOHEADER*>(g_tile)->biHeight));
  for (int y = 0; y < r.bottom; y += h)
    for (int x = 0; x < r.right; x += w) dibDisplayRGB(dc, x, y, w, h, 0, 0, g_tile);
}

INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM first, LPARAM second) {
  switch (message) {
    case WM_INITDIALOG: {
      const int index = static_cast<int>(second);
      SetWindowLongPtrA(page, GWLP_ID, index);
      g_pages[index].window = page;
      g_pages[index].tree = GetDlgItem(page, kTreeBase + index);
      TreeView_SetImageList(g_pages[index].tree, g_checks, TVSIL_NORMAL);
      CheckRadioButton(page, kFirstCategory, kLastCategory, kInitialCategory[index]);
      FillTree(index);
      return FALSE;
    }
    case WM_COMMAND:
      if (HIWORD(first) == BN_CLICKED && LOWORD(first) >= kFirstCategory && LOWORD(first) <= kLastCategory) {
        FillTree(GetDlgCtrlID(page));
        return TRUE;
      }
      break;
    case WM_NOTIFY: {
      const NMHDR* h = reinterpret_cast<const NMHDR*>(second);
      if (h->code == TVN_SELCHANGEDA || h->code == TVN_SELCHANGEDW) {
        if (g_ready) UpdateButtons();
      } else if (h->code == NM_DBLCLK) {
        if (IsWindowEnabled(GetDlgItem(g_window, IDOK)) || IsWindowEnabled(GetDlgItem(g_window, kKidsLaunch)))
          PostMessageA(g_window, WM_COMMAND, IDOK, 0);
      }
      break;
    }
    case WM_ERASEBKGND:
      PaintTile(page, reinterpret_cast<HDC>(first));
      SetWindowLongPtrA(page, DWLP_MSGRESULT, 1);
      return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkMode(reinterpret_cast<HDC>(first), TRANSPARENT);
      return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
  }
  return FALSE;
}

void ShowTab(int tab) {
  for (int i = 0; i < 4; ++i)
    if (g_pages[i].window) ShowWindow(g_pages[i].window, i == tab ? SW_SHOW : SW_HIDE);
  if (g_pages[tab].window) {
    SetWindowPos(g_pages[tab].window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetFocus(g_pages[tab].tree);
  }
  g_tab = tab;
  UpdateButtons();
}

INT_PTR CALLBACK CurriculumProc(HWND window, UINT message, WPARAM first, LPARAM second) {
  switch (message) {
    case WM_INITDIALOG: {
      g_window = window;
      g_tile = LoadPicture("CURRICULUM_TILE");
      CurriculumText();
      g_checks = ImageList_Create(11, 11, ILC_COLOR24, 2, 0);
      AddImage(g_checks, "CURRICULUM_CHECK", 11, 11);
      AddImage(g_checks, "CURRICULUM_BLANK", 11, 11);
      g_tabImages = ImageList_Create(100, 26, ILC_COLOR24, 4, 0);
      for (const char* name : kTabPictures) AddImage(g_tabImages, name, 100, 26);
      HWND tab = GetDlgItem(window, kTabControl);
      TabCtrl_SetImageList(tab, g_tabImages);
      TabCtrl_SetItemSize(tab, 106, 30);
      for (int i = 0; i < 4; ++i) {
        TCITEMA item{};
        item.mask = TCIF_IMAGE | TCIF_TEXT;
        item.pszText = const_cast<char*>("");
        item.iImage = i;
        TabCtrl_InsertItem(tab, i, &item);
      }
      RECT display;
      GetClientRect(tab, &display);
      TabCtrl_AdjustRect(tab, FALSE, &display);
      for (int i = 0; i < 4; ++i) {
        HWND page = CreateDialogParamA(g_instance, MAKEINTRESOURCEA(kFirstPageDialog + i), tab, PageProc, i);
        if (!page) continue;
        SetWindowPos(page, nullptr, display.left, display.top, display.right - display.left,
                     display.bottom - display.top, SWP_NOZORDER);
        // The tree takes the page's width right of the category buttons.
        if (HWND tree = GetDlgItem(page, kTreeBase + i)) {
          RECT t;
          GetWindowRect(tree, &t);
          MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&t), 2);
          RECT client;
          GetClientRect(page, &client);
          SetWindowPos(tree, nullptr, 0, 0, std::max(80L, client.right - 6 - t.left), t.bottom - t.top,
                       SWP_NOZORDER | SWP_NOMOVE);
        }
      }
      RECT tabRect;
      GetWindowRect(tab, &tabRect);
      MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&tabRect), 2);
      RECT client;
      GetClientRect(window, &client);
      HWND kids = CreateDialogParamA(g_instance, MAKEINTRESOURCEA(kFirstPageDialog + kKidsPage), window, PageProc,
                                     kKidsPage);
      if (kids) SetWindowPos(kids, nullptr, 0, 0, client.right, tabRect.bottom, SWP_NOZORDER);
      TabCtrl_SetCurSel(tab, 0);
      ShowTab(0);
      g_ready = true;
      UpdateButtons();
      NumberedWindowOp(WOP_SET_HANDLE, WIN_CURRICULUM, reinterpret_cast<intptr_t>(window));
      SetTimer(window, kOrderTimer, kKeepAboveOwnerMs, nullptr);
      return FALSE;
    }
    case WM_NOTIFY: {
      const NMHDR* h = reinterpret_cast<const NMHDR*>(second);
      if (h->idFrom == kTabControl && h->code == TCN_SELCHANGE) ShowTab(TabCtrl_GetCurSel(h->hwndFrom));
      break;
    }
    case WM_COMMAND:
      switch (LOWORD(first)) {
        case IDOK:
        case kKidsLaunch:
          Launch();
          return TRUE;
        case IDCANCEL:
          ShowCurriculumWindow(0, 0);
          return TRUE;
      }
      break;
    case WM_CLOSE:
      ShowCurriculumWindow(0, 0);
      return TRUE;
    case WM_TIMER:
      if (first == kOrderTimer) KeepAboveOwner(window);
      return TRUE;
    case kDeferredShowMessage:
      // The room that asked may have been left before the message came.
      if (first && GetRoomNumber() != ROOM_CLASS && GetRoomNumber() != ROOM_KIDS) return TRUE;
      ShowCurriculumWindow(static_cast<int>(first), static_cast<int>(second));
      return TRUE;
    case WM_ACTIVATE:
      if (LOWORD(first) == WA_INACTIVE) { if (GetActiveModelessDialog() == window) ClearActiveModelessDialog(); }
      else SetActiveModelessDialog(window);
      return FALSE;
    case WM_ERASEBKGND:
      PaintTile(window, reinterpret_cast<HDC>(first));
      SetWindowLongPtrA(window, DWLP_MSGRESULT, 1);
      return TRUE;
    case WM_DESTROY:
      TabCtrl_SetImageList(GetDlgItem(window, kTabControl), nullptr);
      if (g_checks) ImageList_Destroy(g_checks);
      if (g_tabImages) ImageList_Destroy(g_tabImages);
      g_checks = g_tabImages = nullptr;
      if (g_tile) dibDelete(g_tile);
      g_tile = nullptr;
      for (Page& p : g_pages) p = Page{};
      g_text.clear();
      g_textLoaded = false;
      g_ready = false;
      g_window = nullptr;
      NumberedWindowOp(WOP_CLEAR_HANDLE, WIN_CURRICULUM, 0);
      return FALSE;
  }
  return FALSE;
}

}  // namespace

int CreateCurriculumWindow(HWND owner, HINSTANCE instance) {
  if (!owner || !instance) return -1;
  if (g_window) return 0;
  g_instance = instance;
  CreateDialogParamA(instance, MAKEINTRESOURCEA(kCurriculumDialog), owner, CurriculumProc, 0);
  return 0;
}

void ShowCurriculumWindowLater(int show, int keepOthers) {
  if (g_window) PostMessageA(g_window, kDeferredShowMessage, show, keepOthers);
}

void DestroyCurriculumWindow() {
  if (g_window) DestroyWindow(g_window);
}

HWND GetCurriculumWindow() { return g_window; }

void ShowCurriculumWindow(int show, int keepOthers) {
  if (!g_window) return;
  const bool kids = InKidsRoom();
  if (show) {
    // Placed at the top right of the main window's client area.
    HWND main = GetWindow(g_window, GW_OWNER);
    RECT client, own;
    if (main && GetClientRect(main, &client) && GetWindowRect(g_window, &own)) {
      POINT corner{client.right, client.top};
      ClientToScreen(main, &corner);
      SetWindowPos(g_window, nullptr, corner.x - (own.right - own.left) - 8, corner.y + 8, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  ShowWindow(GetDlgItem(g_window, kKidsLaunch), kids ? SW_SHOW : SW_HIDE);
  ShowWindow(GetDlgItem(g_window, IDOK), kids ? SW_HIDE : SW_SHOW);
  ShowWindow(GetDlgItem(g_window, kTabControl), kids ? SW_HIDE : SW_SHOW);
  if (g_pages[kKidsPage].window) ShowWindow(g_pages[kKidsPage].window, kids ? SW_SHOW : SW_HIDE);
  SetWindowTextA(g_window, kids ? "Kids Curriculum" : "Classroom Curriculum");
  ShowWindow(g_window, show ? SW_SHOW : SW_HIDE);
  NumberedWindowOp(WOP_SHOW, WIN_CURRICULUM, show ? 5 : 0);
  UpdateButtons();
  if (kids && !keepOthers) {
    static const struct {
      int window;
      int command;
    } kOthers[4] = {{WIN_GAME_STATUS, 40088}, {WIN_CAPTURED, 40037}, {WIN_SHORTCUTS, 40032}, {WIN_COACH, 40035}};
    HWND main = GetWindow(g_window, GW_OWNER);
    if (show) {
      SuspendRoomTimer(1);
      for (int i = 0; i < 4; ++i) {
        g_hidden[i] = IsNumberedWindowShown(kOthers[i].window) != 0;
        if (g_hidden[i] && main) SendMessageA(main, WM_COMMAND, kOthers[i].command, 0);
      }
    } else {
      for (int i = 0; i < 4; ++i) {
        if (g_hidden[i] && main) SendMessageA(main, WM_COMMAND, kOthers[i].command, 0);
        g_hidden[i] = false;
      }
      SuspendRoomTimer(0);
    }
  }
}

void RecordCurriculumResult(int first, int second) {
  if (!g_window) return;
  const int index = VisiblePage();
  TreeNode* node = SelectedNode(index);
  if (!node) return;
  ProfileProgress progress;
  ::RecordCurriculumResult(g_pages[index].roots, node->path, first, second, InKidsRoom(), &progress);
  char line[64];
  std::snprintf(line, sizeof line, "curriculum result %d %d", first, second);
  TeachingTrace(line);
  HWND tree = g_pages[index].tree;
  UpdateImages(tree, TreeView_GetRoot(tree), progress.progress);
  InvalidateRect(tree, nullptr, TRUE);
}

int GetSelectedTestNumber() {
  TreeNode* node = g_window ? SelectedNode(VisiblePage()) : nullptr;
  return node ? ::GetSelectedTestNumber(&node->entry->item) : 0;
}

const CurriculumItem* GetSelectedCurriculumItem() {
  TreeNode* node = g_window ? SelectedNode(VisiblePage()) : nullptr;
  return node ? &node->entry->item : nullptr;
}

void SelectCurriculumCategory(int buttonId) {
  if (!g_window || buttonId < 21690 || buttonId > 21715) return;
  const int index = VisiblePage();
  HWND page = g_pages[index].window;
  if (!page || !GetDlgItem(page, buttonId)) return;
  CheckRadioButton(page, kFirstCategory, kLastCategory, buttonId);
  FillTree(index);
}

void RebuildCurriculumTrees() {
  for (int i = 0; i < kPages; ++i) FillTree(i);
}

void SetCurriculumLaunchHooks(const CurriculumLaunchHooks& hooks) { g_hooks = hooks; }
CurriculumLaunchHooks GetCurriculumLaunchHooks() { return g_hooks; }

const int32_t* CurriculumKidsCounters() { return g_kidsCounters; }
