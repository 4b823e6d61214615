// The chat window: see chat_window_win32.h. The rules (sending, recipients,
// classifying, wrapping, colours, order, menus, layout) are in chat_model.
#include "chat_window_win32.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app_globals.h"
#include "app_messages.h"
#include "chat_filter.h"
#include "chat_log.h"
#include "chat_model.h"
#include "lobby_model.h"
#include "look_and_feel.h"
#include "main_frame.h"
#include "main_loop.h"
#include "menu_commands.h"
#include "name_lists.h"
#include "online_windows_win32.h"
#include "profile.h"
#include "shell_services.h"
#include "win_utils_win32.h"
#include "window_table.h"

namespace {

enum : int {
  kConversation = 4050,
  kChannelLabel = 4051,
  kPlayerLabel = 4052,
  kChannels = 4053,
  kPlayers = 4054,
  kEditLabel = 4055,
  kEdit = 4056,
  kSend = 4057,
  kIgnoreChallenges = 4058,
  kIgnoreShouts = 4059,
  kHideCommand = 1051,
  kMenuChat = 40054,
  kMenuIgnoreShouts = 40173,
};

const char* const kChannelNames[] = {"RWLive Central", "64-Square Park", "The Lounge", "Coffee House"};

struct ChannelItem {
  char name[80];
  int32_t count;
  bool everyone;
  uint32_t number;
};

struct LineItem {
  std::string sender;
  std::string text;
  int lineClass;
};

struct ChatState {
  std::string menuName;  // the name under the last right click
  RECT conversationClient{};
  WNDPROC editProc = nullptr;
  ChatLogFile* log = nullptr;
  ChatSendGate gate;
  ChatLayoutInput base;
  int minWidth = 0, minHeight = 0;
  bool ignoreShouts = false;
  HBRUSH listBrush = nullptr;  // the lists' empty space, in their rows' colour
};

ChatState* State(HWND w) { return reinterpret_cast<ChatState*>(GetWindowLongPtrA(w, DWLP_USER)); }
OnlineSession* Session() {
  OnlineWindowHost* host = GetOnlineWindowHost();
  return host ? host->Session() : nullptr;
}
HWND Item(HWND w, int id) { return GetDlgItem(w, id); }
LRESULT Send(HWND w, int id, UINT message, WPARAM a = 0, LPARAM b = 0) {
  return SendDlgItemMessageA(w, id, message, a, b);
}

template <typename T>
T* ItemData(HWND w, int list, int index) {
  const LRESULT data = Send(w, list, LB_GETITEMDATA, WPARAM(index));
  return data == LB_ERR ? nullptr : reinterpret_cast<T*>(data);
}

ChannelItem* CurrentChannel(HWND w) {
  const int at = int(Send(w, kChannels, LB_GETCURSEL));
  return ItemData<ChannelItem>(w, kChannels, at < 0 ? 0 : at);
}

ChannelItem* ChannelNamed(HWND w, const std::string& name) {
  const int n = int(Send(w, kChannels, LB_GETCOUNT));
  for (int i = 0; i < n; ++i)
    if (ChannelItem* c = ItemData<ChannelItem>(w, kChannels, i))
      if (name == c->name) return c;
  return nullptr;
}

bool InCurrentChannel(HWND w, const std::string& channel) {
  ChannelItem* current = CurrentChannel(w);
  return current && channel == current->name;
}

// The player items with their selection.
std::vector<ChatPlayer> Players(HWND w) {
  std::vector<ChatPlayer> out;
  const int n = int(Send(w, kPlayers, LB_GETCOUNT));
  for (int i = 0; i < n; ++i) {
    if (ChatPlayer* p = ItemData<ChatPlayer>(w, kPlayers, i)) {
      out.push_back(*p);
      out.back().selected = Send(w, kPlayers, LB_GETSEL, WPARAM(i)) > 0;
    }
  }
  return out;
}

int FindPlayer(HWND w, uint32_t id, const char* nickname) {
  const int n = int(Send(w, kPlayers, LB_GETCOUNT));
  for (int i = 0; i < n; ++i) {
    ChatPlayer* p = ItemData<ChatPlayer>(w, kPlayers, i);
    if (p && p->id != 0 && (p->id == id || (nickname && p->nickname == nickname))) return i;
  }
  return -1;
}

void RefreshPlayerLabel(HWND w) {
  const int selected = int(Send(w, kPlayers, LB_GETSELCOUNT));
  const bool everyone = Send(w, kPlayers, LB_GETSEL, 0) > 0;
  if (ChannelItem* c = CurrentChannel(w)) c->everyone = everyone;
  SetDlgItemTextA(w, kPlayerLabel, ChatPlayerLabel(everyone, selected < 0 ? 0 : selected).c_str());
  EnableWindow(Item(w, kSend), selected > 0);
}

void Log(HWND w, const std::string& text, const std::string& name, uint32_t mode, int kind) {
  ChatState* s = State(w);
  if (s && s->log) WriteChatLogLine(s->log, text.c_str(), name.c_str(), GetChatVerbText(mode), kind);
}

int TextWidth(HWND list, const std::string& text) {
  HDC dc = GetDC(list);
  HGDIOBJ old = SelectObject(dc, HFONT(SendMessageA(list, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(list, dc);
  return size.cx;
}

void ShowLine(HWND w, const std::string& sender, uint32_t mode, const std::string& tellName,
              const std::string& text) {
  HWND list = Item(w, kConversation);
  const int lineClass = mode == CHAT_TELL ? CHATLINE_TELL : mode == CHAT_ANNOUNCE ? CHATLINE_ANNOUNCE : CHATLINE_OTHER;
  RECT client;
  GetClientRect(list, &client);
  const int width = client.right - TextWidth(list, "W");
  const int before = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
  const int selected = int(SendMessageA(list, LB_GETCURSEL, 0, 0));
  const std::string line = ComposeChatLine(sender, mode, tellName, text);
  for (const std::string& piece : WrapChatLine(line, width, [&](const std::string& t) { return TextWidth(list, t); })) {
    auto* item = new LineItem{sender, piece, lineClass};
    SendMessageA(list, LB_ADDSTRING, 0, LPARAM(item));
  }
  int count = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
  const size_t drop = ChatLinesToDrop(size_t(count));
  for (size_t i = 0; i < drop; ++i) {
    delete reinterpret_cast<LineItem*>(SendMessageA(list, LB_GETITEMDATA, 0, 0));
    SendMessageA(list, LB_DELETESTRING, 0, 0);
  }
  count = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
  if (selected < 0 || selected >= before - 2) {
    SendMessageA(list, LB_SETCURSEL, WPARAM(count - 1), 0);
    ListBoxEnsureVisible(list, count - 1);
  }
}

void PostOwnLine(HWND w, const std::string& text) {
  OnlineSession* s = Session();
  if (!s) return;
  const ChatRecipients r = MakeChatRecipients(Players(w), s->ownId);
  if (r.mode == 0) return;
  const std::string own = s->own.nickname;
  ShowLine(w, own, r.mode, r.shownName, text);
  if (IsChatTextFiltered(text.data(), text.size())) {
    Log(w, text, own, r.mode, CHATLOG_UNSENT);
    return;
  }
  Log(w, text, own, r.mode, CHATLOG_PLAIN);
  s->SendChat(r.mode, text, r.ids);
}

void OnSend(HWND w) {
  ChatState* st = State(w);
  char buffer[kChatTextLimit + 1] = "";
  GetDlgItemTextA(w, kEdit, buffer, sizeof buffer);
  if (!st->gate.Pass(buffer, GetTickCount())) return;
  const std::string text = StripChatText(buffer);
  if (text.size() >= 2) {
    PostOwnLine(w, text);
    const int count = int(Send(w, kConversation, LB_GETCOUNT));
    if (count > 0) Send(w, kConversation, LB_SETCURSEL, WPARAM(count - 1));
  }
  // Rubbed out as typing would: the edit repaints what it replaces.
  Send(w, kEdit, EM_SETSEL, 0, -1);
  Send(w, kEdit, EM_REPLACESEL, FALSE, LPARAM(""));
}

LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND w = GetParent(edit);
  ChatState* st = State(w);
  if (!st) return DefWindowProcA(edit, message, wParam, lParam);
  if (message == WM_GETDLGCODE) return CallWindowProcA(st->editProc, edit, message, wParam, lParam) | DLGC_WANTALLKEYS;
  if (message == WM_KEYDOWN && wParam == VK_RETURN) return 0;
  if (message == WM_CHAR && wParam == '\r') {
    // Sent as the button sends, once the edit is done with the key.
    PostMessageA(w, WM_COMMAND, MAKEWPARAM(kSend, BN_CLICKED), LPARAM(Item(w, kSend)));
    return 0;
  }
  return CallWindowProcA(st->editProc, edit, message, wParam, lParam);
}

// ---- layout

ChatRect Placed(HWND w, int id) {
  RECT r{};
  if (HWND c = Item(w, id)) {
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&r), 2);
  }
  return {r.left, r.top, r.right, r.bottom};
}

void Place(HWND w, int id, const ChatRect& r) {
  if (HWND c = Item(w, id)) MoveWindow(c, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void Layout(HWND w) {
  ChatState* st = State(w);
  RECT client;
  GetClientRect(w, &client);
  ChatLayoutInput in = st->base;
  in.clientWidth = client.right;
  in.clientHeight = client.bottom;
  const ChatLayout out = LayoutChatWindow(in);
  Place(w, kConversation, out.conversation);
  Place(w, kPlayerLabel, out.playerLabel);
  Place(w, kPlayers, out.players);
  Place(w, kEditLabel, out.editLabel);
  Place(w, kEdit, out.edit);
  Place(w, kSend, out.send);
  Place(w, kIgnoreChallenges, out.ignoreChallenges);
  Place(w, kIgnoreShouts, out.ignoreShouts);
  GetClientRect(Item(w, kConversation), &st->conversationClient);
}

void MeasureBase(HWND w, ChatState* st) {
  ChatLayoutInput& in = st->base;
  const ChatRect label = Placed(w, kEditLabel);
  in.unit = ChatLayoutUnit(Item(w, kEditLabel) ? label.bottom - label.top : 0);
  in.conversation = Placed(w, kConversation);
  in.playerLabel = Placed(w, kPlayerLabel);
  in.players = Placed(w, kPlayers);
  in.editLabel = label;
  in.edit = Placed(w, kEdit);
  in.send = Placed(w, kSend);
  in.ignoreChallenges = Placed(w, kIgnoreChallenges);
  in.ignoreShouts = Placed(w, kIgnoreShouts);
  int cw, ch;
  ChatMinimumSize(in, in.ignoreChallenges.right - in.ignoreChallenges.left, &cw, &ch);
  RECT frame{0, 0, cw, ch};
  AdjustWindowRectEx(&frame, DWORD(GetWindowLongA(w, GWL_STYLE)), FALSE, DWORD(GetWindowLongA(w, GWL_EXSTYLE)));
  st->minWidth = frame.right - frame.left;
  st->minHeight = frame.bottom - frame.top;
}

// ---- drawing and order

void DrawRow(const DRAWITEMSTRUCT* di) {
  if (int(di->itemID) < 0) return;
  HDC dc = di->hDC;
  HPALETTE palette = GetAppPalette();
  HPALETTE old = palette ? SelectPalette(dc, palette, FALSE) : nullptr;
  if (palette) RealizePalette(dc);
  const bool selected = (di->itemState & ODS_SELECTED) != 0;
  ChatColours colours{243, 45};
  std::string text;
  bool drawn = true;
  if (di->CtlID == kPlayers) {
    const auto* p = reinterpret_cast<const ChatPlayer*>(di->itemData);
    if (!p) return;
    drawn = p->inChannel;
    colours = PlayerRowColours(*p, selected && drawn);
    text = p->nickname;
  } else if (di->CtlID == kConversation) {
    const auto* line = reinterpret_cast<const LineItem*>(di->itemData);
    if (!line) return;
    colours = ConversationRowColours(line->lineClass, selected);
    text = line->text;
  } else {
    const auto* c = reinterpret_cast<const ChannelItem*>(di->itemData);
    if (!c) return;
    char row[120];
    std::snprintf(row, sizeof row, "%s (%d)", c->name, int(c->count));
    text = row;
  }
  FillRectPaletteIndex(dc, &di->rcItem, colours.background);
  if (drawn) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, PALETTEINDEX(colours.text));
    RECT r = di->rcItem;
    r.left += 2;
    DrawTextA(dc, text.c_str(), int(text.size()), &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  if (old) SelectPalette(dc, old, FALSE);
}

int CompareRows(const COMPAREITEMSTRUCT* c) {
  const auto* a = reinterpret_cast<const ChatPlayer*>(c->itemData1);
  const auto* b = reinterpret_cast<const ChatPlayer*>(c->itemData2);
  if (!a || !b) return 0;
  const int r = CompareChatPlayers(*a, *b, [](const char* x, const char* y) { return lstrcmpA(x, y); });
  return r < 0 ? -1 : r > 0 ? 1 : 0;
}

// ---- users

void AddPlayer(HWND w, OnlineUserEntry* e) {
  OnlineSession* s = Session();
  if (!e || FindPlayer(w, e->id, e->user.nickname) >= 0) return;
  if (s && IsInNameList(s->ignoreList, e->user.nickname)) e->flags |= 1;
  auto* p = new ChatPlayer;
  p->nickname = e->user.nickname;
  p->channel = e->user.channel;
  p->id = e->id;
  p->registered = IsRegisteredUser(e->user);
  p->ignored = (e->flags & 1) != 0;
  p->inChannel = InCurrentChannel(w, p->channel);
  Send(w, kPlayers, LB_ADDSTRING, 0, LPARAM(p));
  if (ChannelItem* c = ChannelNamed(w, p->channel)) ++c->count;
  RefreshPlayerLabel(w);
}

void RemovePlayer(HWND w, const OnlineUserEntry* e) {
  int at;
  while ((at = FindPlayer(w, e->id, e->user.nickname)) >= 0) {
    ChatPlayer* p = ItemData<ChatPlayer>(w, kPlayers, at);
    if (ChannelItem* c = p ? ChannelNamed(w, p->channel) : nullptr) --c->count;
    delete p;
    Send(w, kPlayers, LB_DELETESTRING, WPARAM(at));
  }
  RefreshPlayerLabel(w);
}

void OnUserNotice(HWND w, uint32_t code, OnlineUserEntry* e) {
  if (!e) return;
  const int at = FindPlayer(w, e->id, e->user.nickname);
  ChatPlayer* p = at >= 0 ? ItemData<ChatPlayer>(w, kPlayers, at) : nullptr;
  switch (code) {
    case 1024:
      if (!p) return;
      if (ChannelItem* c = ChannelNamed(w, p->channel)) --c->count;
      p->channel = e->user.channel;
      if (ChannelItem* c = ChannelNamed(w, p->channel)) ++c->count;
      if (p->inChannel != InCurrentChannel(w, p->channel)) {
        p->inChannel = !p->inChannel;
        InvalidateRect(Item(w, kPlayers), nullptr, TRUE);
      }
      RefreshPlayerLabel(w);
      break;
    case 2048:
      if (!p) return;
      p->ignored = (e->flags & 1) != 0;
      InvalidateRect(Item(w, kPlayers), nullptr, TRUE);
      break;
    case 8192:
      AddPlayer(w, e);
      break;
    case 16384:
      RemovePlayer(w, e);
      break;
  }
}

// ---- the player menu

void OnContextMenu(HWND w, HWND control, LPARAM at) {
  ChatState* st = State(w);
  OnlineSession* s = Session();
  if (!s || (control != Item(w, kPlayers) && control != Item(w, kConversation))) return;
  POINT p{short(LOWORD(at)), short(HIWORD(at))};
  if (at == -1) GetCursorPos(&p);
  ScreenToClient(control, &p);
  const LRESULT hit = SendMessageA(control, LB_ITEMFROMPOINT, 0, MAKELPARAM(p.x, p.y));
  if (HIWORD(hit)) return;
  const int index = LOWORD(hit);
  std::string name;
  if (control == Item(w, kPlayers)) {
    ChatPlayer* player = ItemData<ChatPlayer>(w, kPlayers, index);
    if (!player || !player->inChannel) return;
    name = player->nickname;
  } else {
    LineItem* line = ItemData<LineItem>(w, kConversation, index);
    if (!line) return;
    name = line->sender;
  }
  PlayerMenuFacts f;
  f.name = name;
  f.own = name == s->own.nickname;
  const OnlineUserEntry* e = s->FindOnlineUserByNickname(name);
  f.known = e != nullptr;
  f.registered = e && IsRegisteredUser(e->user);
  f.canChallenge = e && IsFreeForChallenge(*e) && s->own.state != USER_PLAYING;
  f.ignored = e && (e->flags & 1);
  f.buddy = IsInNameList(s->buddyList, name) != 0;
  st->menuName = name;
  ShowOnlinePopupMenu(w, MakePlayerMenu(f));
}

void SelectSenderOf(HWND w) {
  const int at = int(Send(w, kConversation, LB_GETCURSEL));
  LineItem* line = ItemData<LineItem>(w, kConversation, at);
  if (!line) return;
  const int player = FindPlayer(w, 0xFFFFFFFFu, line->sender.c_str());
  if (player < 0) return;
  Send(w, kPlayers, LB_SETSEL, TRUE, player);
  RefreshPlayerLabel(w);
}

void SetShoutsCheck(HWND w, bool on) {
  State(w)->ignoreShouts = on;
  CheckDlgButton(w, kIgnoreShouts, on ? BST_CHECKED : BST_UNCHECKED);
  if (on)
    CheckMenuCommand(GetMainFrame(), kMenuIgnoreShouts);
  else
    UncheckMenuCommand(GetMainFrame(), kMenuIgnoreShouts);
}

// ---- set-up and end

void Hide(HWND w) {
  if (!NumberedWindowOp(WOP_SHOW, kChatWindowNumber, WSC_HIDE)) ShowWindow(w, SW_HIDE);
  UncheckMenuCommand(GetMainFrame(), kMenuChat);
}

void OnInit(HWND w) {
  auto* st = new ChatState;
  SetWindowLongPtrA(w, DWLP_USER, LONG_PTR(st));
  NumberedWindowOp(WOP_SET_HANDLE, kChatWindowNumber, intptr_t(w));
  ShowWindow(Item(w, kChannels), SW_HIDE);
  ShowWindow(Item(w, kChannelLabel), SW_HIDE);
  MeasureBase(w, st);
  ShellRect stored{};
  const bool shown = IsNumberedWindowShown(kChatWindowNumber) != 0;
  if (NumberedWindowOp(WOP_GET_RECT, kChatWindowNumber, intptr_t(&stored)) && stored.right > stored.left &&
      stored.bottom > stored.top) {
    const int width = std::max<int>(stored.right - stored.left, st->minWidth);
    const int height = std::max<int>(stored.bottom - stored.top, st->minHeight);
    SetWindowPos(w, nullptr, stored.left, stored.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  Layout(w);
  ShowWindow(w, shown ? SW_SHOWNA : SW_HIDE);
  if (shown)
    CheckMenuCommand(GetMainFrame(), kMenuChat);
  else
    UncheckMenuCommand(GetMainFrame(), kMenuChat);
  CheckDlgButton(w, kIgnoreChallenges, BST_UNCHECKED);
  CheckDlgButton(w, kIgnoreShouts, BST_UNCHECKED);
  Send(w, kEdit, EM_LIMITTEXT, kChatTextLimit);
  st->editProc = WNDPROC(SetWindowLongPtrA(Item(w, kEdit), GWLP_WNDPROC, LONG_PTR(EditProc)));
  for (const char* name : kChannelNames) {
    auto* c = new ChannelItem{};
    std::snprintf(c->name, sizeof c->name, "%s", name);
    Send(w, kChannels, LB_ADDSTRING, 0, LPARAM(c));
  }
  Send(w, kChannels, LB_SETCURSEL, 0);
  auto* everyone = new ChatPlayer;
  everyone->nickname = kSelectEveryone;
  everyone->registered = true;
  Send(w, kPlayers, LB_ADDSTRING, 0, LPARAM(everyone));
  RefreshPlayerLabel(w);
  LoadChatFilter();
  // "Log Chat" is remembered in the user's settings.
  if (const char* ini = GetSettingsIniPath())
    if (ProfileReadInt("onlineroom", "chat_log", 0, ini)) SetChatLogging(w, ChatLogPath(), true);
}

template <typename T>
void FreeItems(HWND w, int list) {
  const int n = int(Send(w, list, LB_GETCOUNT));
  for (int i = 0; i < n; ++i) delete ItemData<T>(w, list, i);
  Send(w, list, LB_RESETCONTENT);
}

void OnDestroy(HWND w) {
  ChatState* st = State(w);
  FreeItems<LineItem>(w, kConversation);
  FreeItems<ChannelItem>(w, kChannels);
  FreeItems<ChatPlayer>(w, kPlayers);
  FreeOnlinePopupMenus(w);
  if (st) {
    if (st->editProc) SetWindowLongPtrA(Item(w, kEdit), GWLP_WNDPROC, LONG_PTR(st->editProc));
    CloseChatLog(st->log);
    if (st->listBrush) DeleteObject(st->listBrush);
    delete st;
  }
  SetWindowLongPtrA(w, DWLP_USER, 0);
  if (GetNumberedWindow(kChatWindowNumber) == w) NumberedWindowOp(WOP_CLEAR_HANDLE, kChatWindowNumber, 0);
}

void OnCommand(HWND w, int id, int code) {
  switch (id) {
    case kSend:
    case IDOK:
      OnSend(w);
      break;
    case kIgnoreChallenges:
      if (OnlineWindowHost* host = GetOnlineWindowHost()) host->FlipIgnoreChallenges();
      break;
    case kIgnoreShouts:
      SetShoutsCheck(w, !State(w)->ignoreShouts);
      break;
    case kPlayers:
      if (code == LBN_SELCHANGE || code == LBN_SELCANCEL) RefreshPlayerLabel(w);
      break;
    case kConversation:
      if (code == LBN_DBLCLK) SelectSenderOf(w);
      break;
    case kHideCommand:
    case IDCANCEL:
      Hide(w);
      break;
    default:
      RunPlayerMenuCommand(id, State(w)->menuName);
      break;
  }
}

INT_PTR CALLBACK ChatDlgProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    OnInit(w);
    return TRUE;
  }
  ChatState* st = State(w);
  if (!st) return FALSE;
  switch (message) {
    case WM_DESTROY:
      OnDestroy(w);
      return TRUE;
    case WM_SIZE:
      Layout(w);
      return TRUE;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) SetActiveModelessDialog(w);
      return FALSE;
    case WM_CLOSE:
      Hide(w);
      return TRUE;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        Hide(w);
        SetWindowLongPtrA(w, DWLP_MSGRESULT, 0);
        return TRUE;
      }
      return FALSE;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize.x = st->minWidth;
      info->ptMinTrackSize.y = st->minHeight;
      return TRUE;
    }
    case WM_DRAWITEM:
      DrawRow(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      SetWindowLongPtrA(w, DWLP_MSGRESULT, TRUE);
      return TRUE;
    case WM_CTLCOLORLISTBOX:
      if (!st->listBrush) {
        // The colour itself: the erasing DC may have no palette selected.
        PALETTEENTRY e{};
        GetPaletteEntries(GetAppPalette(), UINT(ConversationRowColours(CHATLINE_OTHER, false).background), 1, &e);
        st->listBrush = CreateSolidBrush(RGB(e.peRed, e.peGreen, e.peBlue));
      }
      return INT_PTR(st->listBrush);
    case WM_COMPAREITEM:
      SetWindowLongPtrA(w, DWLP_MSGRESULT, CompareRows(reinterpret_cast<const COMPAREITEMSTRUCT*>(lParam)));
      return TRUE;
    case WM_WINDOWPOSCHANGED:
      StoreOnlineWindowPos(kChatWindowNumber, lParam);
      return FALSE;
    case WM_CONTEXTMENU:
      OnContextMenu(w, HWND(wParam), lParam);
      return TRUE;
    case RWM_ONLINE_USER:
      OnUserNotice(w, uint32_t(wParam), reinterpret_cast<OnlineUserEntry*>(lParam));
      return TRUE;
    case WM_COMMAND:
      OnCommand(w, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
  }
  return FALSE;
}

}  // namespace

HWND CreateChatWindow(HWND parent, HINSTANCE instance) {
  return CreateDialogParamA(instance, "IDD_CHAT", parent, ChatDlgProc, 0);
}

void ReceiveChatLine(HWND w, const std::string& received, uint32_t senderId, uint32_t mode) {
  ChatState* st = w ? State(w) : nullptr;
  OnlineSession* s = Session();
  if (!st || !s) return;
  const OnlineUserEntry* e = s->FindOnlineUserById(senderId);
  if (!e) return;
  const std::string sender = e->user.nickname;
  const bool ignored = (e->flags & 1) != 0;
  if (mode == CHAT_TELL) {
    const std::string answer = GetOnlineWindowHost()->AutoplayChatAnswer(received, senderId);
    if (!answer.empty()) s->SendChat(CHAT_TELL, answer, {senderId});
  }
  // A peer's line has no bound of its own: it gets an own line's.
  const std::string text = CutReceivedChat(received);
  const bool filtered = IsChatTextFiltered(text.data(), text.size()) != 0;
  const int kind = ClassifyReceivedChat(filtered, mode, st->ignoreShouts, ignored);
  Log(w, text, sender, mode, kind);
  if (kind != CHATLOG_PLAIN) return;
  if (mode == CHAT_TELL && GetChatTellSetting()) Services().playGameSound(10);
  if (mode == CHAT_ANNOUNCE) Services().playGameSound(11);
  ShowLine(w, sender, mode, "", text);
}

std::string GetCurrentChatChannel(HWND w, uint32_t* number) {
  ChannelItem* c = w && State(w) ? CurrentChannel(w) : nullptr;
  if (number) *number = c ? c->number : 0;
  return c ? c->name : kChannelNames[0];
}

void SetIgnoreChallengesCheck(HWND w, bool on) {
  if (w) CheckDlgButton(w, kIgnoreChallenges, on ? BST_CHECKED : BST_UNCHECKED);
}

void ToggleIgnoreShouts(HWND w) {
  if (w && State(w)) SetShoutsCheck(w, !State(w)->ignoreShouts);
}

bool SetChatLogging(HWND w, const std::string& path, bool on) {
  ChatState* st = w ? State(w) : nullptr;
  if (!st) return false;
  if (!on) {
    CloseChatLog(st->log);
    st->log = nullptr;
    return true;
  }
  if (st->log) return true;
  st->log = OpenChatLog(path);
  if (!st->log) return false;
  WriteChatLogLine(st->log, GetCurrentChatChannel(w, nullptr).c_str(), nullptr, nullptr, CHATLOG_ENTERING_CHANNEL);
  return true;
}

bool IsChatLogging(HWND w) {
  ChatState* st = w ? State(w) : nullptr;
  return st && st->log;
}

std::string ChatLogPath() {
  const char* folder = GetUserFolder();
  return std::string(folder && *folder ? folder : ".") + "\\" + kChatLogFileName;
}
