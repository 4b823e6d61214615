// The opening book editor's window over BookEditorModel. The dialog's
// controls are the system's edit, combo box and tree view with the
// toolkit's colour text for the line; the header above the tree labels its
// levels and slides with the tree's horizontal scrolling.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

#include "book_editor.h"
#include "book_editor_model.h"
#include "colortext_layout.h"
#include "editablebook.h"
#include "shell_services.h"
#include "window_table.h"

namespace {

constexpr int kWeightImageWidth = 16;
constexpr int kWeightImageHeight = 15;
constexpr int kTreeIndent = 60;
constexpr int kHeaderHeight = 18;
constexpr int kHeaderLevels = 40;
constexpr int kMinWidth = 300;
constexpr int kMinHeight = 310;
constexpr int kCloseCommand = 40147;
constexpr int kMargin = 6;
constexpr int kRow = 22;

enum StringId : int {
  IDS_WEIGHT_100 = 1023,
  IDS_WEIGHT_0 = 1026,
  IDS_CAPTION = 1027,
  IDS_ROOT = 1028,
  IDS_NEW_BOOK = 1029,
  IDS_NOT_SAVED = 1030,
};

const char* const kWeightPictures[8] = {"OBK_WEIGHT_0",     "OBK_WEIGHT_25",     "OBK_WEIGHT_50",
                                        "OBK_WEIGHT_100",   "OBK_WEIGHT_0_SEL",  "OBK_WEIGHT_25_SEL",
                                        "OBK_WEIGHT_50_SEL", "OBK_WEIGHT_100_SEL"};

// Game events the editor follows (0x8103 from the board's game).
enum GameEvent : int {
  EVENT_MOVE_PLAYED = 9,
  EVENT_TAKEN_BACK = 10,
  EVENT_REPLAYED = 11,
  EVENT_FREEZE = 13,
  EVENT_UNFREEZE = 14,
  EVENT_NOTHING = 15,
  EVENT_COMMENT_EDITED = 16,
};
constexpr UINT kGameEventMessage = 0x8103;

// Code 1's record: the item handle is written back.
struct TreeItemRecord {
  HTREEITEM parent;
  int entry;
  const char* text;
  int weight;
  int hasChildren;
  HTREEITEM item;
};

struct OpeningBookEditor {
  int owner = 0;
  std::unique_ptr<BookEditorModel> model;
  BookEditorBoard* board = nullptr;
  std::map<int, HTREEITEM> items;
  HIMAGELIST images = nullptr;
  HWND headerBox = nullptr;  // clips the header while it slides
  bool quiet = false;        // the program itself is changing the controls
};

BookEditorHost g_host;
bool g_protectedShown = false;

std::string Str(int id) {
  char text[512] = "";
  LoadStringA(GetModuleHandleA(nullptr), UINT(id), text, sizeof text);
  return text;
}

std::string BaseName(const std::string& path) {
  const size_t at = path.find_last_of('\\');
  return at == std::string::npos ? path : path.substr(at + 1);
}

HWND EditorWindow() { return static_cast<HWND>(GetNumberedWindow(kBookEditorWindowNumber)); }

OpeningBookEditor* EditorOf(HWND window) {
  return window ? reinterpret_cast<OpeningBookEditor*>(GetWindowLongPtrA(window, DWLP_USER)) : nullptr;
}

HWND Control(HWND window, int id) { return GetDlgItem(window, id); }

std::string ControlText(HWND window, int id) {
  HWND c = Control(window, id);
  const int length = GetWindowTextLengthA(c);
  std::string text(size_t(length) + 1, '\0');
  GetWindowTextA(c, &text[0], length + 1);
  text.resize(size_t(length));
  return text;
}

void SetControlText(OpeningBookEditor* editor, HWND window, int id, const std::string& text) {
  editor->quiet = true;
  SetWindowTextA(Control(window, id), text.c_str());
  editor->quiet = false;
}

BookEditorPending Pending(OpeningBookEditor* editor, HWND window) {
  BookEditorPending p;
  p.eco = ControlText(window, OBK_ECO);
  p.name = ControlText(window, OBK_NAME);
  if (editor->board) p.comment = editor->board->CurrentComment();
  return p;
}

// ---- the tree

HTREEITEM InsertItem(HWND window, HTREEITEM parent, int entry, const std::string& text, int weight,
                     bool hasChildren) {
  TreeItemRecord record{parent, entry, text.c_str(), weight, hasChildren ? 1 : 0, nullptr};
  SendMessageA(window, kBookEditorMessage, OBK_INSERT_ITEM, LPARAM(&record));
  return record.item;
}

void DoInsertItem(HWND window, TreeItemRecord* record) {
  TVINSERTSTRUCTA insert{};
  insert.hParent = record->parent ? record->parent : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  insert.item.pszText = const_cast<char*>(record->text);
  insert.item.lParam = record->entry;
  insert.item.cChildren = record->hasChildren;
  insert.item.iImage = insert.item.iSelectedImage = record->weight;
  record->item = reinterpret_cast<HTREEITEM>(
      SendMessageA(Control(window, OBK_TREE), TVM_INSERTITEMA, 0, LPARAM(&insert)));
}

// The item of an entry, made (with those of its line) when it has none.
HTREEITEM ItemOf(OpeningBookEditor* editor, HWND window, int entry) {
  auto found = editor->items.find(entry);
  if (found != editor->items.end()) return found->second;
  const BookMoveTable& table = editor->model->Table();
  if (!table.Valid(entry)) return nullptr;
  const int parent = table.Parent(entry);
  HTREEITEM parentItem = parent >= 0 ? ItemOf(editor, window, parent) : nullptr;
  if (parent >= 0 && !parentItem) return nullptr;
  const std::string text = entry == 0 ? Str(IDS_ROOT) : editor->model->MoveText(entry);
  HTREEITEM item = InsertItem(window, parentItem, entry, text, entry == 0 ? 0 : table.Weight(entry),
                              entry == 0 || table.FirstChild(entry) >= 0);
  if (item) editor->items[entry] = item;
  return item;
}

void SetItemWeight(OpeningBookEditor* editor, HWND window, int entry) {
  auto found = editor->items.find(entry);
  if (found == editor->items.end()) return;
  TVITEMA item{};
  item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
  item.hItem = found->second;
  item.iImage = item.iSelectedImage = editor->model->Table().Weight(entry);
  SendMessageA(Control(window, OBK_TREE), TVM_SETITEMA, 0, LPARAM(&item));
}

void MarkHasChildren(OpeningBookEditor* editor, HWND window, int entry) {
  auto found = editor->items.find(entry);
  if (found == editor->items.end()) return;
  TVITEMA item{};
  item.mask = TVIF_CHILDREN | TVIF_HANDLE;
  item.hItem = found->second;
  item.cChildren = editor->model->Table().FirstChild(entry) >= 0 ? 1 : 0;
  SendMessageA(Control(window, OBK_TREE), TVM_SETITEMA, 0, LPARAM(&item));
}

// ---- showing the selection

void ShowLineText(HWND window, const std::string& line) {
  HWND text = Control(window, OBK_LINE);
  SendMessageA(text, CTM_RESETCONTENT, 0, 0);
  size_t start = 0;
  while (start < line.size()) {
    size_t end = line.find(' ', start);
    if (end == std::string::npos) end = line.size();
    const std::string word = line.substr(start, end - start) + " ";
    ColorTextEntry entry{RGB(20, 30, 70), word.c_str(), 0, 0, kCtOwnColour | (word[0] >= '0' && word[0] <= '9' ? kCtBold : 0)};
    SendMessageA(text, CTM_ADDENTRY, 0, LPARAM(&entry));
    start = end + 1;
  }
  InvalidateRect(text, nullptr, TRUE);
}

void DoShowEntry(OpeningBookEditor* editor, HWND window, const BookEntryView* view) {
  ShowLineText(window, view->line);
  SetControlText(editor, window, OBK_ECO, view->eco);
  SetControlText(editor, window, OBK_NAME, view->name);
  SetControlText(editor, window, OBK_VARIATION, view->variation);
  editor->quiet = true;
  SendMessageA(Control(window, OBK_WEIGHT), CB_SETCURSEL, view->editable ? WPARAM(view->weight) : WPARAM(-1), 0);
  editor->quiet = false;
  if (editor->board) editor->board->SetCurrentComment(view->comment);
}

// Shows the current entry: its line's items and its children's, its texts,
// and the controls it may edit; with `replay` the board shows its line.
void ShowCurrent(OpeningBookEditor* editor, HWND window, bool replay) {
  BookEditorModel& model = *editor->model;
  const int entry = model.Current();
  if (entry < 0) return;
  if (replay && editor->board) {
    std::vector<MoveRecord> moves;
    model.ReplayLine(entry, &moves);  // a bad move stops the line there
    editor->board->ShowLine(moves);
  }
  HTREEITEM item = ItemOf(editor, window, entry);
  for (int child : model.Children(entry)) ItemOf(editor, window, child);
  MarkHasChildren(editor, window, entry);
  const BookEntryView view = model.View(entry);
  SendMessageA(window, kBookEditorMessage, OBK_SHOW_ENTRY, LPARAM(&view));
  if (!model.ReadOnly()) {
    for (int id : {OBK_NAME, OBK_ECO, OBK_WEIGHT}) EnableWindow(Control(window, id), view.editable);
  }
  if (item) {
    editor->quiet = true;
    HWND tree = Control(window, OBK_TREE);
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, LPARAM(item));
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, LPARAM(item));
    SendMessageA(tree, TVM_ENSUREVISIBLE, 0, LPARAM(item));
    editor->quiet = false;
  }
}

void SelectEntry(OpeningBookEditor* editor, HWND window, int entry, bool replay) {
  if (!editor->model->Select(entry, Pending(editor, window))) return;
  ShowCurrent(editor, window, replay);
}

// The entry of the game's current move, walking the book along the game.
int EntryOfGame(OpeningBookEditor* editor) {
  if (!editor->board) return 0;
  int entry = 0;
  for (const MoveRecord& m : editor->board->GameLine()) {
    const int next = editor->model->FindChild(entry, m);
    if (next < 0) break;
    entry = next;
  }
  return entry;
}

void AddPlayedMove(OpeningBookEditor* editor, HWND window) {
  if (!editor->board) return;
  const std::vector<MoveRecord> line = editor->board->GameLine();
  if (line.empty()) return;
  const int parent = editor->model->Current();
  if (editor->model->AddPlayedMove(line.back(), Pending(editor, window)) < 0) return;
  MarkHasChildren(editor, window, parent);
  ShowCurrent(editor, window, false);
}

void DeleteSelected(OpeningBookEditor* editor, HWND window) {
  if (editor->model->ReadOnly()) return;
  HWND tree = Control(window, OBK_TREE);
  HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (!item) return;
  TVITEMA data{};
  data.mask = TVIF_PARAM | TVIF_HANDLE;
  data.hItem = item;
  SendMessageA(tree, TVM_GETITEMA, 0, LPARAM(&data));
  const int entry = int(data.lParam);
  const int parent = editor->model->Table().Parent(entry);
  const int next = editor->model->DeleteEntry(entry);
  if (next < 0) return;
  editor->quiet = true;
  SendMessageA(tree, TVM_DELETEITEM, 0, LPARAM(item));
  editor->quiet = false;
  for (auto at = editor->items.begin(); at != editor->items.end();)
    at = editor->model->Table().Valid(at->first) ? std::next(at) : editor->items.erase(at);
  MarkHasChildren(editor, window, parent);
  SendMessageA(window, kBookEditorMessage, OBK_SELECT_ENTRY, next);
}

// ---- layout

// The header's labels: one per ply, as wide as a tree level.
void FillHeader(HWND header) {
  for (int level = 0; level < kHeaderLevels; ++level) {
    char label[16];
    if (level == 0)
      std::snprintf(label, sizeof label, " ");
    else
      std::snprintf(label, sizeof label, level % 2 ? "%d." : "%d...", (level + 1) / 2);
    HDITEMA item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.pszText = label;
    item.cxy = level == 0 ? kTreeIndent / 2 : kTreeIndent;
    item.fmt = HDF_LEFT | HDF_STRING;
    SendMessageA(header, HDM_INSERTITEMA, WPARAM(level), LPARAM(&item));
  }
}

void PlaceHeader(OpeningBookEditor* editor, HWND window) {
  if (!editor || !editor->headerBox) return;
  HWND tree = Control(window, OBK_TREE);
  SCROLLINFO info{sizeof info, SIF_POS};
  const int offset = GetScrollInfo(tree, SB_HORZ, &info) ? info.nPos : 0;
  RECT box;
  GetClientRect(editor->headerBox, &box);
  SetWindowPos(Control(editor->headerBox, OBK_HEADER), nullptr, -offset, 0, box.right + offset + kTreeIndent * 2,
               kHeaderHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Layout(OpeningBookEditor* editor, HWND window) {
  RECT client;
  GetClientRect(window, &client);
  const int w = client.right - 2 * kMargin, h = client.bottom;
  auto place = [&](int id, int x, int y, int cx, int cy) {
    SetWindowPos(Control(window, id), nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
  };
  // Name across the top; ECO code, then the weight on the right; the tree
  // under its header; the variation and the line at the bottom.
  place(OBK_NAME, kMargin, kMargin, w, kRow);
  int y = kMargin + kRow + 4;
  place(OBK_ECO, kMargin, y, 48, kRow);
  place(OBK_WEIGHT, client.right - kMargin - 64, y, 64, 120);
  place(OBK_WEIGHT_LABEL, client.right - kMargin - 64 - 56, y + 4, 52, kRow - 4);
  y += kRow + 6;
  const int lineHeight = 54;
  const int treeTop = y + kHeaderHeight;
  const int treeBottom = h - kMargin - lineHeight - 4 - kRow - 4;
  if (editor && editor->headerBox)
    SetWindowPos(editor->headerBox, nullptr, kMargin, y, w, kHeaderHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  place(OBK_TREE, kMargin, treeTop, w, treeBottom - treeTop);
  place(OBK_VARIATION, kMargin, treeBottom + 4, w, kRow);
  place(OBK_LINE, kMargin, h - kMargin - lineHeight, w, lineHeight);
  PlaceHeader(editor, window);
  InvalidateRect(window, nullptr, TRUE);
}

// The tree tells its horizontal scrolling to the dialog, which slides the
// header with it.
LRESULT CALLBACK TreeProc(HWND tree, UINT message, WPARAM first, LPARAM second, UINT_PTR, DWORD_PTR) {
  const LRESULT result = DefSubclassProc(tree, message, first, second);
  if (message == WM_HSCROLL || message == WM_SIZE || message == WM_MOUSEWHEEL || message == WM_KEYDOWN ||
      message == TVM_ENSUREVISIBLE || message == TVM_SELECTITEM)
    PlaceHeader(EditorOf(GetParent(tree)), GetParent(tree));
  return result;
}

// ---- the window

void InitControls(OpeningBookEditor* editor, HWND window) {
  HWND tree = Control(window, OBK_TREE);
  SendMessageA(tree, TVM_SETINDENT, kTreeIndent, 0);
  SetWindowSubclass(tree, TreeProc, 1, 0);
  SendMessageA(Control(window, OBK_ECO), EM_LIMITTEXT, 3, 0);
  SendMessageA(Control(window, OBK_NAME), EM_LIMITTEXT, 255, 0);
  HWND weight = Control(window, OBK_WEIGHT);
  for (int id = IDS_WEIGHT_0; id >= IDS_WEIGHT_100; --id)
    SendMessageA(weight, CB_ADDSTRING, 0, LPARAM(Str(id).c_str()));
  editor->headerBox = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 10,
                                      kHeaderHeight, window, nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND header = CreateWindowExA(0, WC_HEADERA, "", WS_CHILD | WS_VISIBLE | HDS_HORZ, 0, 0, 10, kHeaderHeight,
                                editor->headerBox, HMENU(INT_PTR(OBK_HEADER)), GetModuleHandleA(nullptr), nullptr);
  SendMessageA(header, WM_SETFONT, SendMessageA(window, WM_GETFONT, 0, 0), 0);
  FillHeader(header);
  if (!editor->model->ReadOnly() && g_host.loadPicture) {
    editor->images = ImageList_Create(kWeightImageWidth, kWeightImageHeight, ILC_COLOR24 | ILC_MASK, 8, 0);
    for (const char* name : kWeightPictures) {
      HBITMAP picture = g_host.loadPicture(name);
      ImageList_AddMasked(editor->images, picture, RGB(255, 0, 255));
      if (picture) DeleteObject(picture);
    }
    SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, LPARAM(editor->images));
  }
  for (int id : {OBK_NAME, OBK_ECO, OBK_WEIGHT}) EnableWindow(Control(window, id), FALSE);
  if (editor->model->ReadOnly()) SendMessageA(Control(window, OBK_VARIATION), EM_SETREADONLY, TRUE, 0);
  Layout(editor, window);
}

// The tree starts again from the root item for a new book.
void StartTree(OpeningBookEditor* editor, HWND window) {
  editor->quiet = true;
  SendMessageA(Control(window, OBK_TREE), TVM_DELETEITEM, 0, LPARAM(TVI_ROOT));
  editor->quiet = false;
  editor->items.clear();
  ItemOf(editor, window, 0);
}

void OnNotify(OpeningBookEditor* editor, HWND window, NMHDR* header) {
  if (header->idFrom != OBK_TREE) return;
  if (header->code == TVN_SELCHANGEDA || header->code == TVN_SELCHANGEDW) {
    if (editor->quiet) return;
    auto* change = reinterpret_cast<NMTREEVIEWA*>(header);
    SelectEntry(editor, window, int(change->itemNew.lParam), true);
  } else if (header->code == TVN_KEYDOWN) {
    if (reinterpret_cast<NMTVKEYDOWN*>(header)->wVKey == VK_DELETE) DeleteSelected(editor, window);
  } else if (header->code == TVN_ITEMEXPANDINGA || header->code == TVN_ITEMEXPANDINGW) {
    // Children appear when their parent opens.
    auto* change = reinterpret_cast<NMTREEVIEWA*>(header);
    for (int child : editor->model->Children(int(change->itemNew.lParam))) ItemOf(editor, window, child);
  }
}

void OnCommand(OpeningBookEditor* editor, HWND window, int id, int code) {
  if (editor->quiet) return;
  if (code == EN_CHANGE && id == OBK_ECO) editor->model->MarkDirty(BOOK_TEXT_ECO);
  if (code == EN_CHANGE && id == OBK_NAME) editor->model->MarkDirty(BOOK_TEXT_NAME);
  if (code == CBN_SELCHANGE && id == OBK_WEIGHT) {
    const int weight = int(SendMessageA(Control(window, OBK_WEIGHT), CB_GETCURSEL, 0, 0));
    if (editor->model->SetWeight(weight)) SetItemWeight(editor, window, editor->model->Current());
  }
}

void OnGameEvent(OpeningBookEditor* editor, HWND window, int code) {
  BookEditorModel& model = *editor->model;
  switch (code) {
    case EVENT_MOVE_PLAYED:
      if (!model.Frozen()) AddPlayedMove(editor, window);
      break;
    case EVENT_TAKEN_BACK:
      if (!model.Frozen() && model.Table().Parent(model.Current()) >= 0)
        SelectEntry(editor, window, model.Table().Parent(model.Current()), false);
      break;
    case EVENT_REPLAYED:
      if (!model.Frozen() && model.Table().FirstChild(model.Current()) >= 0)
        SelectEntry(editor, window, model.Table().FirstChild(model.Current()), false);
      break;
    case EVENT_FREEZE:
      model.SetFrozen(true);
      break;
    case EVENT_UNFREEZE:
      model.SetFrozen(false);
      SelectEntry(editor, window, EntryOfGame(editor), false);
      break;
    case EVENT_NOTHING:
      PostMessageA(window, kBookEditorMessage, OBK_NOTHING, 0);
      break;
    case EVENT_COMMENT_EDITED:
      model.MarkDirty(BOOK_TEXT_COMMENT);
      break;
    default:
      break;
  }
}

void DestroyEditor(HWND window) {
  OpeningBookEditor* editor = EditorOf(window);
  SetWindowLongPtrA(window, DWLP_USER, 0);
  if (GetNumberedWindow(kBookEditorWindowNumber) == window)
    NumberedWindowOp(WOP_CLEAR_HANDLE, kBookEditorWindowNumber, 0);
  DestroyWindow(window);
  if (editor && editor->images) ImageList_Destroy(editor->images);
  delete editor;
}

INT_PTR CALLBACK EditorProc(HWND window, UINT message, WPARAM first, LPARAM second) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(window, DWLP_USER, second);
    InitControls(reinterpret_cast<OpeningBookEditor*>(second), window);
    return TRUE;
  }
  OpeningBookEditor* editor = EditorOf(window);
  switch (message) {
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(second)->ptMinTrackSize = POINT{kMinWidth, kMinHeight};
      return TRUE;
    case WM_SIZE:
      Layout(editor, window);
      return TRUE;
    case WM_SYSCOMMAND:
      if ((first & 0xFFF0) == SC_CLOSE) {
        // The room decides: it may ask to save first.
        HWND main = g_host.mainWindow ? g_host.mainWindow() : nullptr;
        if (main) PostMessageA(main, WM_COMMAND, kCloseCommand, 0);
        else PostMessageA(window, kBookEditorMessage, OBK_CLOSE, 0);
        SetWindowLongPtrA(window, DWLP_MSGRESULT, 0);
        return TRUE;
      }
      return FALSE;
    case WM_COMMAND:
      if (LOWORD(first) == IDCANCEL || LOWORD(first) == IDOK) return TRUE;  // Enter and Esc close nothing
      if (editor) OnCommand(editor, window, LOWORD(first), HIWORD(first));
      return TRUE;
    case WM_NOTIFY:
      if (editor) OnNotify(editor, window, reinterpret_cast<NMHDR*>(second));
      return TRUE;
    case kGameEventMessage:
      if (editor) OnGameEvent(editor, window, int(first));
      return TRUE;
    case kBookEditorMessage:
      switch (int(first)) {
        case OBK_CLOSE:
          DestroyEditor(window);
          break;
        case OBK_INSERT_ITEM:
          DoInsertItem(window, reinterpret_cast<TreeItemRecord*>(second));
          break;
        case OBK_SHOW_ENTRY:
          if (editor) DoShowEntry(editor, window, reinterpret_cast<const BookEntryView*>(second));
          break;
        case OBK_SELECT_ENTRY:
          if (editor) SelectEntry(editor, window, int(second), true);
          break;
        default:
          break;
      }
      return TRUE;
    default:
      return FALSE;
  }
}

OpeningBookEditor* CurrentEditor() { return EditorOf(EditorWindow()); }

void NoteProtected(const char* text) {
  g_protectedShown = true;
  Services().appMessageBox(text, MB_OK);
}

// The board goes to the start, the tree to its root.
void StartBook(OpeningBookEditor* editor, HWND window) {
  StartTree(editor, window);
  if (editor->board) editor->board->ShowLine({});
  SelectEntry(editor, window, 0, false);
}

}  // namespace

void SetBookEditorHost(const BookEditorHost& host) { g_host = host; }
const BookEditorHost& BookEditorHostInUse() { return g_host; }

int OpenBookEditorWindow(BookEditorBoard* board, const char* path, int readOnly) {
  if (board == nullptr) return -1;
  if (HWND old = EditorWindow()) DestroyEditor(old);
  INITCOMMONCONTROLSEX init{sizeof init, ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&init);
  const std::string file = path && *path ? path : Str(IDS_NEW_BOOK);
  auto* editor = new (std::nothrow) OpeningBookEditor;
  if (editor == nullptr) return -1;
  editor->board = board;
  editor->model = std::make_unique<BookEditorModel>(file, readOnly != 0);
  HWND main = g_host.mainWindow ? g_host.mainWindow() : nullptr;
  HWND window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kBookEditorDialog), main,
                                   EditorProc, LPARAM(editor));
  if (window == nullptr) {
    delete editor;
    return -1;
  }
  NumberedWindowOp(WOP_SET_HANDLE, kBookEditorWindowNumber, intptr_t(window));
  SetBookEditorCaption(file.c_str());
  StartBook(editor, window);
  ShellRect stored{};
  NumberedWindowOp(WOP_GET_RECT, kBookEditorWindowNumber, intptr_t(&stored));
  if (stored.right > stored.left && stored.bottom > stored.top)
    SetWindowPos(window, nullptr, stored.left, stored.top, stored.right - stored.left, stored.bottom - stored.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(window, SW_SHOW);
  return 0;
}

int CloseBookEditor() {
  HWND window = EditorWindow();
  if (!window) return 1;
  PostMessageA(window, kBookEditorMessage, OBK_CLOSE, 0);
  return 0;
}

int SaveBookEditor(const char* path) {
  HWND window = EditorWindow();
  OpeningBookEditor* editor = EditorOf(window);
  if (!editor || !path) return 0;
  g_protectedShown = false;
  SetBookMessageSink(NoteProtected);
  const bool saved = editor->model->Save(path, Pending(editor, window));
  SetBookMessageSink(nullptr);
  if (saved) {
    SetBookEditorCaption(path);
    return 1;
  }
  if (!g_protectedShown) {
    char text[600];
    std::snprintf(text, sizeof text, Str(IDS_NOT_SAVED).c_str(), BaseName(path).c_str());
    Services().appMessageBox(text, MB_OK);
  }
  return 0;
}

int ShowBookEditor(int show) {
  if (HWND window = EditorWindow()) ShowWindow(window, show ? SW_SHOW : SW_HIDE);
  return 0;
}

void SetBookEditorCaption(const char* path) {
  HWND window = EditorWindow();
  if (!window || !path) return;
  char caption[400];
  std::snprintf(caption, sizeof caption, Str(IDS_CAPTION).c_str(), BaseName(path).c_str());
  SetWindowTextA(window, caption);
}

int LoadBookIntoEditor(const char* path) {
  HWND window = EditorWindow();
  OpeningBookEditor* editor = EditorOf(window);
  if (!editor || !path) return 0;
  editor->model = std::make_unique<BookEditorModel>(path, false);
  SetBookEditorCaption(path);
  StartBook(editor, window);
  return 1;
}

bool IsBookEditorModified() {
  OpeningBookEditor* editor = CurrentEditor();
  return editor && editor->model->Modified();
}

char* GetBookEditorFileName(char* buffer, size_t size) {
  OpeningBookEditor* editor = CurrentEditor();
  if (buffer && size) {
    buffer[0] = 0;
    if (editor) std::snprintf(buffer, size, "%s", editor->model->FileName().c_str());
  }
  return buffer;
}
