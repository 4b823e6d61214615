// The online room: see online_room_win32.h.
// The rules' headers come before windows.h, whose language macros would
// otherwise rename the notation's languages.
#include "game_end.h"
#include "game_record.h"
#include "game_registry.h"
#include "connect_dialog.h"
#include "online_games.h"
#include "rated_games.h"

#include <windows.h>
#include <shellapi.h>
// The shell names its own user; not the system's account call.
#undef GetUserName

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "app_globals.h"
#include "app_messages.h"
#include "challenge_windows_win32.h"
#include "chat_window_win32.h"
#include "date_time.h"
#include "facet_frame.h"
#include "lobby_window_win32.h"
#include "main_frame.h"
#include "menu_commands.h"
#include "online_room_win32.h"
#include "online_windows_win32.h"
#include "profile.h"
#include "room_board_win32.h"
#include "room_switch.h"
#include "room_window.h"
#include "shell_hosts.h"
#include "shell_services.h"
#include "skinned_dialog.h"
#include "startup_rules.h"
#include "user_settings.h"
#include "wallpaper.h"
#include "window_table.h"

namespace {

enum : int {
  kLiveMenu = 21,
  kLiveKeys = 34,
  kCmdSave = 40013,
  kCmdShortcuts = 40032,
  kCmdLoadLayout = 40165,
  kCmdSaveLayout = 40166,
  kCmdWallpaper = 40178,
  kCmdChessSet = 40087,
  kCmdFlipBoard = 11,
  kCmdHelp = 40,
  kCmdChallenge = 40047,
  kCmdIgnoreChallenges = 40174,
  kCmdChat = 40054,
  kCmdLobby = 40055,
  kCmdIgnoreShouts = 40173,
};
constexpr char kWallpaperFile[] = "RWLiveBackground.bmp";
constexpr uint32_t kYesNo = 4;
constexpr int kAnswerYesButton = 6;

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

// The transport until the connect dialog joins a session: nothing connects.
class UnconnectedLink final : public LobbyLink {
 public:
  int Init(uint32_t, const std::string&) override { return 1; }
  int Disconnect() override { return 0; }
  int UserSendData(const std::vector<uint32_t>&, const uint8_t*, size_t) override { return -1; }
  int ChanSendData(const uint8_t*, size_t) override { return -1; }
  void ReleaseData(LobbyEvent* record) override { delete record; }
  std::string GetErrorString(int) override { return ""; }
  bool GetNickFromID(uint32_t, std::string*) override { return false; }
  int GetUserData(const std::string&, uint8_t*, size_t, size_t*) override { return -1; }
  int PutUserData(const std::string&, const uint8_t*, size_t) override { return -1; }
};

struct OnlineRoom;
OnlineRoom* g_room = nullptr;
RoomRecord* g_record = nullptr;
GameRecord* g_shown = nullptr;  // the game registered for the room
std::vector<CmMenu*> g_contextMenus;

void ApplyLiveMenus();
void CreateConnectDialog();
void DestroyOnlineWindows();

HWND ChatWindow() { return static_cast<HWND>(GetNumberedWindow(kChatWindowNumber)); }

class ProgramOnlineHooks final : public OnlineHooks {
 public:
  void ShowModeless(const std::string& text, int timeoutSeconds) override {
    Services().showModelessMessageBox(text.c_str(), 0, nullptr, 0, timeoutSeconds ? timeoutSeconds : -60);
  }
  void AppMessageBox(const std::string& text) override {
    Services().appMessageBox(text.c_str(), MB_OK | MB_ICONEXCLAMATION);
  }
  bool AskYesNo(const std::string& text) override {
    return Services().appMessageBox(text.c_str(), kYesNo) == kAnswerYesButton;
  }
  void PostHostNotice(uint32_t wparam) override {
    if (HWND room = GetRoomWindow()) PostMessageA(room, RWM_ONLINE_EVENT, wparam, 0);
  }
  void NotifyUserWindows(uint32_t wparam, const OnlineUserEntry* entry) override {
    BroadcastToWindows(RWM_ONLINE_USER, wparam, reinterpret_cast<intptr_t>(entry), 0);
  }
  void ShowChat(uint32_t verb, const std::string& text, uint32_t sender) override {
    ReceiveChatLine(ChatWindow(), text, sender, verb);
  }
  std::string CurrentChatChannel() override { return GetCurrentChatChannel(ChatWindow(), nullptr); }
  // Back to the connect dialog, as after Disconnect.
  void SessionLeft() override;
  void EndOnlineGame(uint32_t result) override;
  uint32_t NowMs() override { return GetTickCount(); }
  std::string NowText() override { return FormatCurrentDateTime(); }
};

class ProgramGameHooks final : public OnlineGameHooks {
 public:
  int32_t NewRating(uint32_t rating, uint32_t opponentRating, uint32_t games, uint32_t opponentGames,
                    int score) override {
    return ComputeNewRating(rating, opponentRating, games, opponentGames, score);
  }
  void ShowGame(GameRecord* game) override {
    if (g_shown) {
      StopGame(g_shown);
      if (GetCurrentGame() == g_shown) SetCurrentGame(nullptr);
      UnregisterGame(&g_shown->id);
      g_shown = nullptr;
    }
    if (game && RegisterGame(game, ROOM_ONLINE) == 0) g_shown = game;
    if (g_shown && GetRoomNumber() == ROOM_ONLINE) SetCurrentGame(g_shown);
    BroadcastToWindows(RWM_GAME_EVENT, GE_GAME_SET, reinterpret_cast<intptr_t>(g_shown), 0);
  }
  void OrientBoard(bool whiteAtBottom) override {
    BroadcastToWindows(RWM_BOARD_ORIENTATION, whiteAtBottom ? 1 : 0, 0, 1);
  }
  void GameChanged(int code) override {
    BroadcastToWindows(RWM_GAME_EVENT, uintptr_t(code), reinterpret_cast<intptr_t>(g_shown), 0);
  }
  void MenusChanged() override { ApplyLiveMenus(); }
  bool InOnlineRoom() override { return GetRoomNumber() == ROOM_ONLINE; }
  bool ChallengesBlocked() override;
  void StoreRatings(const NetUserData&, bool) override {}
  OnlineProfileBlock OwnProfile() override {
    OnlineProfileBlock p;
    const char* name = GetUserName();
    std::snprintf(p.userName, sizeof p.userName, "%s", name ? name : "");
    return p;
  }
  void ShowProfile(const std::string&, const OnlineProfileBlock&) override {}
  void ShowPostedGames(const std::string&, const LobbyGameList&) override {}
  void ResumeStoredGame(const OnlineGameSnapshot&) override {}
};

// ---- the connect dialog --------------------------------------------------

enum : int {
  kConnectDialog = 5016,
  kInternet = 30100,
  kLan = 30105,
  kModem = 30110,
  kLobby = 30115,
  kHost = 5004,
  kGameNameLabel = 5005,
  kGameName = 5006,
  kJoin = 5007,
  kAddressLabel = 5008,
  kAddress = 5009,
  kModemsLabel = 5010,
  kModems = 5011,
  kPhoneLabel = 5012,
  kPhone = 5013,
  kSessionsLabel = 5014,
  kSessions = 5015,
  kStatus = 5017,
};
constexpr UINT_PTR kSearchTimer = 1;
// Without a window manager (X under Wine) an activated frame covers the
// windows it owns: the dialog raises itself when the frame comes to the front.
constexpr UINT_PTR kRaiseTimer = 2;
constexpr UINT kRaiseTimerMs = 250;
HWND g_lastForeground = nullptr;
constexpr char kLobbyHelper[] = "RWLiveLogin.exe";

HWND g_connect = nullptr;
bool g_applying = false;
bool g_timerSet = false;

void ApplyConnectControls();

class ProgramConnectHost final : public ConnectDialogHost {
 public:
  std::string UserName() override {
    const char* name = GetUserName();
    return name ? name : "";
  }
  std::string MpuserArgument() override {
    const char* user = CommandLineUser(GetCommandLineA());
    return user ? user : "";
  }
  // No outside lobby hands this program a session.
  std::string LobbyLoginName() override { return ""; }
  int DebugSetting(const char* key) override {
    const char* ini = GetMainIniPath();
    return ini ? int(GetPrivateProfileIntA("debug", key, 0, ini)) : 0;
  }
  bool InOnlineRoom() override { return GetRoomNumber() == ROOM_ONLINE; }
  void ShowDialog() override {
    if (g_connect) ShowWindow(g_connect, SW_SHOW);
  }
  bool LaunchLobbyHelper() override {
    const char* folder = GetProgramFolder();
    const std::string path = std::string(folder ? folder : ".") + "\\" + kLobbyHelper;
    return reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", path.c_str(), nullptr, folder, SW_SHOWNORMAL)) > 32;
  }
  void CloseProgram() override {
    if (HWND frame = GetMainFrame()) PostMessageA(frame, WM_CLOSE, 0, 0);
  }
  void ShowMessage(const std::string& text) override { Services().appMessageBox(text.c_str(), MB_OK); }
  void ControlsChanged() override { ApplyConnectControls(); }
};

// The chat and lobby windows' view of the room.
class ProgramWindowHost final : public OnlineWindowHost {
 public:
  OnlineSession* Session() override;
  void ViewGameOf(const std::string& nickname) override;
  void ChallengeUser(const std::string& nickname) override;
  void AcceptPostedChallenge(const std::string& nickname) override;
  // The challenge window holds the switch; it sets the chat window's button.
  void FlipIgnoreChallenges() override;
  std::string AutoplayChatAnswer(const std::string& text, uint32_t sender) override;
  void OfferPostedChallenge(const OnlineUserEntry& poster) override;
};

struct OnlineRoom {
  UnconnectedLink link;
  ProgramWindowHost windowHost;
  ProgramOnlineHooks hooks;
  ProgramGameHooks gameHooks;
  ProgramConnectHost connectHost;
  OnlineSession session{link, hooks};
  OnlineGames games{session, gameHooks};
  ConnectDialogModel connect{session, connectHost};
  std::unique_ptr<OnlineAutoplay> autoplay;       // the test autoplay's script
  std::unique_ptr<ChallengeWindows> challenges;  // while logged in
  uint32_t lastState = USER_AWAY;
};

bool ProgramGameHooks::ChallengesBlocked() {
  return g_room && g_room->challenges && g_room->challenges->Model().Settings().ignore;
}

// The challenge windows live from the login to the end of the session.
void CreateChallengeWindows() {
  if (!g_room || g_room->challenges || !g_room->session.IsOpen()) return;
  ChallengeWindowLinks links;
  links.beginGame = [](const OnlineGameDescriptor& d, const std::vector<OnlineMove>* moves) {
    return g_room && g_room->games.BeginOnlineGame(d, moves);
  };
  links.newRating = [](uint32_t r, uint32_t o, uint32_t g, uint32_t og, int score) {
    return ComputeNewRating(r, o, g, og, score);
  };
  links.challengeSoundOn = [] { return true; };
  links.playChallengeSound = [] { Services().playGameSound(12); };
  links.inOnlineRoom = [] { return GetRoomNumber() == ROOM_ONLINE; };
  links.ignoreChallengesChanged = [](bool on) { SetIgnoreChallengesCheck(ChatWindow(), on); };
  links.registerWindow = [](int number, HWND window, bool on) {
    NumberedWindowOp(on ? WOP_SET_HANDLE : WOP_CLEAR_HANDLE, number, on ? reinterpret_cast<intptr_t>(window) : 0);
  };
  // The test autoplay ([debug] "autoplay") plays the room's game script:
  // "<user folder>\<room section>.CSC".
  const char* main = GetMainIniPath();
  const bool autoplay = main && GetPrivateProfileIntA("debug", "autoplay", 0, main) != 0;
  char room[64] = "";
  GetRoomName(room, ROOM_ONLINE);
  const char* folder = GetUserFolder();
  g_room->autoplay =
      std::make_unique<OnlineAutoplay>(autoplay, std::string(folder ? folder : ".") + "\\" + room + ".CSC");
  g_room->challenges =
      std::make_unique<ChallengeWindows>(g_room->session, Instance(), GetMainFrame(), links, g_room->autoplay.get());
  const char* ini = GetSettingsIniPath();
  if (!g_room->challenges->Create(ini ? ini : "")) g_room->challenges.reset();
  if (g_room->challenges) SetIgnoreChallengesCheck(ChatWindow(), g_room->challenges->Model().Settings().ignore);
}

void DestroyChallengeWindows() {
  if (g_room && g_room->challenges) {
    g_room->challenges->Destroy();
    g_room->challenges.reset();
  }
  if (g_room) g_room->autoplay.reset();
}

// When the own state turns Idle in the online room (after the login step
// and after a game) a challenge is posted when Autopost is on.
void CheckOwnIdle() {
  if (!g_room || !g_room->challenges) return;
  const uint32_t state = g_room->session.own.state;
  const bool turnedIdle = state == USER_IDLE && g_room->lastState != USER_IDLE;
  g_room->lastState = state;
  if (turnedIdle && GetRoomNumber() == ROOM_ONLINE) g_room->challenges->Model().AutopostChallenge();
}

void Show(HWND dialog, int id, bool show) {
  if (HWND c = GetDlgItem(dialog, id)) ShowWindow(c, show ? SW_SHOWNA : SW_HIDE);
}
void Enable(HWND dialog, int id, bool on) {
  if (HWND c = GetDlgItem(dialog, id)) EnableWindow(c, on ? TRUE : FALSE);
}

void ApplyConnectControls() {
  if (!g_connect || !g_room || g_applying) return;
  g_applying = true;
  const ConnectControls& c = g_room->connect.Controls();
  HWND d = g_connect;
  Enable(d, kInternet, c.internetEnabled);
  Enable(d, kLan, c.lanEnabled);
  Enable(d, kModem, c.modemEnabled);
  Enable(d, kLobby, c.lobbyEnabled);
  const struct {
    int id;
    ConnectMode mode;
  } modes[] = {{kInternet, MODE_INTERNET}, {kLan, MODE_LAN}, {kModem, MODE_MODEM}, {kLobby, MODE_LOBBY}};
  for (const auto& m : modes) CheckDlgButton(d, m.id, c.checked == m.mode ? BST_CHECKED : BST_UNCHECKED);
  Enable(d, kHost, c.hostEnabled);
  Enable(d, kJoin, c.joinEnabled);
  Enable(d, IDCANCEL, c.cancelEnabled);
  for (int id : {kGameNameLabel, kGameName}) Show(d, id, c.showGameName);
  Show(d, kHost, c.showHost);
  for (int id : {kSessionsLabel, kSessions}) Show(d, id, c.showSessions);
  for (int id : {kAddressLabel, kAddress}) Show(d, id, c.showAddress);
  for (int id : {kModemsLabel, kModems, kPhoneLabel, kPhone}) Show(d, id, c.showModem);
  SetDlgItemTextA(d, kStatus, c.status.c_str());
  HWND list = GetDlgItem(d, kSessions);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const auto& row : c.sessions) SendMessageA(list, LB_ADDSTRING, 0, LPARAM(row.name.c_str()));
  SendMessageA(list, LB_SETCURSEL, WPARAM(c.selectedSession), 0);
  HWND modems = GetDlgItem(d, kModems);
  SendMessageA(modems, CB_RESETCONTENT, 0, 0);
  for (const auto& name : c.modems) SendMessageA(modems, CB_ADDSTRING, 0, LPARAM(name.c_str()));
  SendMessageA(modems, CB_SETCURSEL, WPARAM(c.selectedModem), 0);
  if (c.timerRunning && !g_timerSet) g_timerSet = SetTimer(d, kSearchTimer, kConnectSearchMs, nullptr) != 0;
  if (!c.timerRunning && g_timerSet) {
    KillTimer(d, kSearchTimer);
    g_timerSet = false;
  }
  g_applying = false;
}

std::string ItemText(HWND dialog, int id) {
  char text[256] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

void CentreOnFrame(HWND dialog) {
  RECT owner{}, self{};
  GetWindowRect(GetMainFrame() ? GetMainFrame() : GetDesktopWindow(), &owner);
  GetWindowRect(dialog, &self);
  const int w = self.right - self.left, h = self.bottom - self.top;
  SetWindowPos(dialog, nullptr, (owner.left + owner.right - w) / 2, (owner.top + owner.bottom - h) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK ConnectDlgProc(HWND dialog, UINT message, WPARAM first, LPARAM second) {
  if (!g_room) return FALSE;
  ConnectDialogModel& model = g_room->connect;
  switch (message) {
    case WM_INITDIALOG:
      g_connect = dialog;
      CentreOnFrame(dialog);
      SetTimer(dialog, kRaiseTimer, kRaiseTimerMs, nullptr);
      model.Initialise(0);
      ApplyConnectControls();
      return TRUE;
    case WM_COMMAND: {
      if (g_applying) return TRUE;
      const int id = LOWORD(first), code = HIWORD(first);
      switch (id) {
        case kInternet:
          model.ChooseMode(MODE_INTERNET);
          break;
        case kLan:
          model.ChooseMode(MODE_LAN);
          break;
        case kModem:
          model.ChooseMode(MODE_MODEM);
          break;
        case kLobby:
          model.ChooseMode(MODE_LOBBY);
          break;
        case kHost:
          model.Host();
          break;
        case kJoin:
          model.Join();
          break;
        case IDCANCEL:
          if (IsWindowEnabled(GetDlgItem(dialog, IDCANCEL))) model.Cancel();
          break;
        case kGameName:
          if (code == EN_CHANGE) model.GameNameChanged(ItemText(dialog, kGameName));
          break;
        case kAddress:
          if (code == EN_CHANGE) model.AddressChanged(ItemText(dialog, kAddress));
          break;
        case kPhone:
          if (code == EN_CHANGE) model.PhoneChanged(ItemText(dialog, kPhone));
          break;
        case kModems:
          if (code == CBN_SELCHANGE) model.ModemSelected(int(SendDlgItemMessageA(dialog, kModems, CB_GETCURSEL, 0, 0)));
          break;
        case kSessions: {
          const int row = int(SendDlgItemMessageA(dialog, kSessions, LB_GETCURSEL, 0, 0));
          if (code == LBN_SELCHANGE) model.SessionSelected(row);
          if (code == LBN_DBLCLK) model.SessionDoubleClicked(row);
          break;
        }
      }
      return TRUE;
    }
    case WM_TIMER:
      if (first == kSearchTimer) model.Timer();
      if (first == kRaiseTimer) {
        const HWND frame = GetMainFrame(), foreground = GetForegroundWindow();
        if (foreground == frame && g_lastForeground != frame && IsWindowVisible(dialog))
          SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        g_lastForeground = foreground;
      }
      return TRUE;
    case RWM_ONLINE_EVENT:
      if (auto* record = reinterpret_cast<LobbyEvent*>(second)) {
        model.OnRecord(*record);
        g_room->link.ReleaseData(record);
      }
      return TRUE;
    case WM_DESTROY:
      if (g_timerSet) KillTimer(dialog, kSearchTimer);
      KillTimer(dialog, kRaiseTimer);
      g_timerSet = false;
      g_connect = nullptr;
      return TRUE;
  }
  return FALSE;
}

OnlineSession* ProgramWindowHost::Session() { return g_room ? &g_room->session : nullptr; }

void ProgramWindowHost::ChallengeUser(const std::string& nickname) {
  if (g_room && g_room->challenges) g_room->challenges->Model().ChallengeUser(nickname);
}

void ProgramWindowHost::AcceptPostedChallenge(const std::string& nickname) {
  if (g_room && g_room->challenges) g_room->challenges->Model().AcceptPostedChallenge(nickname);
}

void ProgramWindowHost::FlipIgnoreChallenges() {
  if (g_room && g_room->challenges) g_room->challenges->Model().ToggleIgnoreChallenges();
}

std::string ProgramWindowHost::AutoplayChatAnswer(const std::string& text, uint32_t sender) {
  if (!g_room || !g_room->autoplay || !g_room->autoplay->On()) return "";
  OnlineSession& s = g_room->session;
  const OnlineUserEntry* e = s.FindOnlineUserById(sender);
  const char* opponent = s.game.ownWhite ? s.own.game.black : s.own.game.white;
  const bool fromOpponent = e && std::strcmp(e->user.nickname, opponent) == 0;
  return g_room->autoplay->AnswerChat(text, fromOpponent, s.game.ownWhite != 0);
}

void ProgramWindowHost::OfferPostedChallenge(const OnlineUserEntry& poster) {
  if (g_room && g_room->challenges) g_room->challenges->Model().ConsultScript(poster.user.nickname);
}

void ProgramWindowHost::ViewGameOf(const std::string& nickname) {
  OnlineSession* s = Session();
  const OnlineUserEntry* e = s ? s->FindOnlineUserByNickname(nickname) : nullptr;
  if (e) s->RequestView(nickname, e->user.game);
}

// The chat and lobby windows live from the login to the session's end.
void CreateOnlineWindows() {
  if (!ChatWindow()) CreateChatWindow(GetMainFrame(), Instance());
  if (!GetNumberedWindow(kLobbyWindowNumber)) CreateLobbyWindow(GetMainFrame(), Instance());
}

void DestroyOnlineWindows() {
  for (int id : {kChatWindowNumber, kLobbyWindowNumber})
    if (HWND w = static_cast<HWND>(GetNumberedWindow(id))) DestroyWindow(w);
}

// Shows or hides numbered window `id`, with its menu check.
void ToggleOnlineWindow(int id, int command) {
  HWND w = static_cast<HWND>(GetNumberedWindow(id));
  if (!w) return;
  const bool show = !IsWindowVisible(w);
  ShowWindow(w, show ? SW_SHOW : SW_HIDE);
  NumberedWindowOp(WOP_SHOW, id, show ? WSC_SHOW : WSC_HIDE);
  if (show)
    CheckMenuCommand(GetMainFrame(), command);
  else
    UncheckMenuCommand(GetMainFrame(), command);
}

// "Log Chat": kept in the user's settings, applied to the chat window.
void ToggleChatLog() {
  const char* ini = GetSettingsIniPath();
  const bool on = !IsChatLogging(ChatWindow());
  if (!SetChatLogging(ChatWindow(), ChatLogPath(), on) && on) return;
  if (ini) ProfileWriteInt("onlineroom", "chat_log", on ? 1 : 0, ini);
  if (on)
    CheckMenuCommand(GetMainFrame(), kLogChatCommand);
  else
    UncheckMenuCommand(GetMainFrame(), kLogChatCommand);
}

// Every record of the session comes here: a login ends the connect dialog
// and the live window is connected; then the session takes the record. The
// notice of a failed send comes without a record and leaves the session.
void HandleOnlineRoomMessage(WPARAM first, LPARAM second) {
  if (!g_room) return;
  auto* record = reinterpret_cast<LobbyEvent*>(second);
  const bool loggedIn = record && record->kind == LOBBY_LOGGED_IN;
  if (loggedIn && g_connect) {
    DestroyWindow(g_connect);
    CreateOnlineWindows();
    ApplyLiveMenus();
  }
  g_room->session.HandleRoomMessage(uint32_t(first), record);
  if (loggedIn) CreateChallengeWindows();
  CheckOwnIdle();
  // Handlers may have ended the session; the game handlers go again with
  // the next start.
  ApplyLiveMenus();
}

void CreateConnectDialog() {
  if (g_connect) return;
  CreateSkinnedDialog(Instance(), MAKEINTRESOURCEA(kConnectDialog), GetMainFrame(), ConnectDlgProc, 0);
}

void ProgramOnlineHooks::EndOnlineGame(uint32_t result) {
  if (g_room) g_room->games.EndOnlineGame(result);
  CheckOwnIdle();
}

// Back to the connect dialog, as after Disconnect.
void ProgramOnlineHooks::SessionLeft() {
  DestroyChallengeWindows();
  DestroyOnlineWindows();
  if (g_room) g_room->lastState = USER_AWAY;
  ApplyLiveMenus();
  CreateConnectDialog();
}

// The rules' calls for online games go to the room's games.
void HostEndOnlineGame(int result) {
  if (g_room) g_room->games.EndOnlineGame(uint32_t(result));
  CheckOwnIdle();
}
void HostSendOnlineMove(const MoveRecord* move) {
  if (g_room && move) g_room->games.SendOnlineMove(*move);
}
void HostNotifyOnlineGameOver() {
  if (g_room) g_room->games.NotifyOnlineGameOver();
}

void SetItem(CmMenu* menu, int id, bool on) {
  cmEnableMenuItem(menu, UINT(id), MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
}

void SetItemText(CmMenu* menu, int id, const char* text) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  info.dwTypeData = const_cast<char*>(text);
  cmSetMenuItemInfo(menu, UINT(id), FALSE, &info);
}

void ApplyLiveMenus() {
  if (!g_room || !g_record || !g_record->menu) return;
  CmMenu* menu = g_record->menu;
  const LiveMenuState m = g_room->games.Menus();
  SetItem(menu, MENU_LOAD, m.load);
  SetItem(menu, MENU_VIEW_GAME, m.viewGame);
  SetItem(menu, MENU_SHOW_VIEWERS, m.showViewers);
  SetItem(menu, MENU_TAKEBACK, m.takeback);
  SetItem(menu, MENU_OFFER_DRAW, m.offerDraw);
  SetItem(menu, MENU_RESIGN, m.resign);
  SetItem(menu, MENU_ADJOURN, m.adjourn);
  SetItem(menu, MENU_DISCONNECT, g_room->session.IsOpen());
  SetItemText(menu, MENU_VIEW_GAME, LiveViewMenuText(m));
  cmCheckMenuItem(menu, kLogChatCommand, MF_BYCOMMAND | (IsChatLogging(ChatWindow()) ? MF_CHECKED : MF_UNCHECKED));
  if (HWND frame = GetMainFrame())
    if (GetRoomNumber() == ROOM_ONLINE) DrawMenuBar(frame);
}

bool SetUpOnlineRoom(RoomRecord* record) {
  if (!g_room) {
    g_room = new OnlineRoom;
    g_room->session.OnStart([] { g_room->session.OpenNameLists(GetSettingsIniPath()); });
  }
  SetOnlineWindowHost(&g_room->windowHost);
  g_record = record;
  record->roomData = g_room;
  SetOnlineGameHostHooks({HostEndOnlineGame, HostSendOnlineMove, HostNotifyOnlineGameOver});
  SetRoomOnlineEventHandler(HandleOnlineRoomMessage);
  LoadWallpaper(kWallpaperFile, record);
  if (!g_room->games.ShowOwnGame()) return false;
  if (CreateRoomBoardView(record)) ClearRoomBoardTurn(ROOM_ONLINE);
  record->setUp = 1;
  CreateConnectDialog();
  return true;
}

int ActivateOnlineRoom(RoomRecord* record) {
  if (!record) return 0;
  if (!record->setUp && !SetUpOnlineRoom(record)) return 0;
  ShowNavigationBar();
  Services().setIdleLevel(1);
  if (g_connect) ShowWindow(g_connect, SW_SHOW);
  if (g_shown) SetCurrentGame(g_shown);
  OnlineSession& s = g_room->session;
  if (s.IsOpen()) {
    s.own.state = USER_IDLE;
    if (!g_connect) s.SendOwnUpdate(1);
  }
  CheckOwnIdle();
  ApplyLiveMenus();
  return 1;
}

int DeactivateOnlineRoom(RoomRecord* record) {
  if (!g_room) return 1;
  OnlineSession& s = g_room->session;
  if (s.game.playing) {
    if (!g_room->hooks.AskYesNo("Are you sure you want to resign the current game to change rooms?")) return 0;
    if (s.game.playing) g_room->games.EndOnlineGame(s.game.ownWhite ? RESULT_WHITE_RESIGNED : RESULT_BLACK_RESIGNED);
  }
  if (record && record->boardWindow) ShowWindow(static_cast<HWND>(record->boardWindow), SW_HIDE);
  if (g_connect) ShowWindow(g_connect, SW_HIDE);
  // Leaving the room takes back what is out and declines what is shown.
  if (g_room->challenges) {
    g_room->challenges->Model().WithdrawChallenge();
    g_room->challenges->Model().DeclineReceived();
  }
  if (s.IsOpen() && !g_connect) {
    s.own.state = USER_AWAY;
    s.SendOwnUpdate(1);
  }
  CheckOwnIdle();
  Services().setIdleLevel(0);
  return 1;
}

void ReleaseOnlineRoom(RoomRecord* record, int isCurrent) {
  if (!record || record != g_record) return;
  SetOnlineGameHostHooks({});
  SetRoomOnlineEventHandler(nullptr);
  for (CmMenu* menu : g_contextMenus) cmDestroyMenu(menu);
  g_contextMenus.clear();
  if (g_connect) DestroyWindow(g_connect);
  DestroyChallengeWindows();
  DestroyRoomBoardView(record);
  if (g_shown) {
    StopGame(g_shown);
    if (GetCurrentGame() == g_shown) SetCurrentGame(nullptr);
    UnregisterGame(&g_shown->id);
    g_shown = nullptr;
  }
  g_room->session.Close();
  DestroyOnlineWindows();
  SetOnlineWindowHost(nullptr);
  delete g_room;  // the games free the game on screen
  g_room = nullptr;
  g_record = nullptr;
  record->roomData = nullptr;
  record->setUp = 0;
  if (!isCurrent && record->menu) {
    cmDestroyMenu(record->menu);
    record->menu = nullptr;
  }
}

int OnlineMenuCommand(void*, int command) {
  if (!g_room) return 0;
  OnlineGames& games = g_room->games;
  OnlineSession& s = g_room->session;
  switch (command) {
    case MENU_TAKEBACK:
      games.RequestTakeback();
      break;
    case MENU_ADJOURN:
      games.RequestAdjournment();
      break;
    case MENU_OFFER_DRAW:
      games.OfferDraw();
      break;
    case MENU_RESIGN:
      games.Resign();
      break;
    case kCmdShortcuts:
      break;
    case kCmdChat:
      ToggleOnlineWindow(kChatWindowNumber, kCmdChat);
      break;
    case kCmdLobby:
      ToggleOnlineWindow(kLobbyWindowNumber, kCmdLobby);
      break;
    case kCmdIgnoreShouts:
      ToggleIgnoreShouts(ChatWindow());
      break;
    case kLogChatCommand:
      ToggleChatLog();
      break;
    case MENU_VIEW_GAME:
      if (s.game.viewing) games.StopViewing();
      break;
    case MENU_STORE_GAME:
      games.SaveOnlineGameToLobby();
      break;
    case kCmdChallenge:
      if (g_room->challenges) g_room->challenges->ShowChallengeWindow(true);
      break;
    case kCmdIgnoreChallenges:
      if (g_room->challenges) g_room->challenges->Model().ToggleIgnoreChallenges();
      break;
    case MENU_DISCONNECT:
      if (s.IsOpen()) {
        if (s.game.playing &&
            !g_room->hooks.AskYesNo("Are you sure you want to resign the current game to disconnect?"))
          return 1;
        if (s.game.playing) games.EndOnlineGame(s.game.ownWhite ? RESULT_WHITE_RESIGNED : RESULT_BLACK_RESIGNED);
        s.Leave();
      }
      break;
    default:
      return 0;
  }
  ApplyLiveMenus();
  return 1;
}

// The live window's context menu, off the board, in the program's own
// popup. The room window passes the button press and the context-menu
// message; only the second (its WPARAM a window) opens the menu, at the
// click's screen point. The toolkit reads a menu while its popup is open
// after this returns: the menus are kept for the room's life.
intptr_t OnlineRoomContextMenu(void*, uintptr_t wParam, intptr_t lParam) {
  if (!IsWindow(reinterpret_cast<HWND>(wParam))) return 0;
  POINT at{short(LOWORD(lParam)), short(HIWORD(lParam))};
  if (lParam == -1) GetCursorPos(&at);
  CmMenu* menu = cmCreatePopupMenu();
  CmMenu* windows = cmCreatePopupMenu();
  if (!menu || !windows) {
    if (menu) cmDestroyMenu(menu);
    if (windows) cmDestroyMenu(windows);
    return 0;
  }
  cmAppendMenu(menu, MF_STRING, kCmdSave, "Save Game");
  if (g_room && g_room->session.game.viewing) cmAppendMenu(menu, MF_STRING, MENU_VIEW_GAME, "Stop Viewing Game");
  cmAppendMenu(menu, MF_STRING, kCmdLoadLayout, "Load Layout");
  cmAppendMenu(menu, MF_STRING, kCmdSaveLayout, "Save Layout");
  cmAppendMenu(menu, MF_STRING, kCmdWallpaper, "Wallpaper");
  cmAppendMenu(windows, MF_STRING, 40088, "Game Status");
  cmAppendMenu(windows, MF_STRING, 40037, "Captured Pieces");
  cmAppendMenu(windows, MF_STRING, 40047, "Challenge");
  cmAppendMenu(windows, MF_STRING, 40054, "Chat");
  cmAppendMenu(windows, MF_STRING, 40055, "Online Information");
  cmAppendMenu(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(windows), "Windows");
  cmDestroySubMenu(windows);
  cmAppendMenu(menu, MF_STRING, kCmdHelp, "Help");
  RECT anchor{at.x, at.y, at.x, at.y};
  // The popup closes when its owner loses the focus: the connect dialog
  // may hold it.
  SetForegroundWindow(GetMainFrame());
  SetFocus(GetMainFrame());
  if (cmTrackPopupMenu(menu, &anchor, GetMainFrame(), 0)) g_contextMenus.push_back(menu);
  else cmDestroyMenu(menu);
  return 1;
}

CmMenu* MakeLiveMenu(int) { return cmLoadMenu(Instance(), MAKEINTRESOURCEA(kLiveMenu)); }
void* MakeLiveKeys(int) { return LoadAcceleratorsA(Instance(), MAKEINTRESOURCEA(kLiveKeys)); }

const RoomModule kModule = {ActivateOnlineRoom, DeactivateOnlineRoom, ReleaseOnlineRoom, MakeLiveMenu,
                            OnlineMenuCommand,  OnlineRoomContextMenu, MakeLiveKeys};

}  // namespace

void RegisterOnlineRoom() { RegisterRoomModule(ROOM_ONLINE, &kModule); }

OnlineGames* GetOnlineGames() { return g_room ? &g_room->games : nullptr; }

bool IsOnlineRoomReady() { return g_room && g_record && g_record->setUp && !g_connect; }
