// The challenge windows and the view list: see challenge_windows_win32.h.
#include "challenge_windows_win32.h"

#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "dialog_runner.h"
#include "skinned_dialog.h"

namespace {

enum : int {
  kPostMode = 3051,
  kMinLabel = 3052,
  kMin = 3053,
  kMaxLabel = 3054,
  kMax = 3055,
  kAutopost = 3056,
  kAllow = 3057,
  kPlayerMode = 3058,
  kPlayersLabel = 3059,
  kPlayers = 3060,
  kChangeLabel = 3062,
  kWLabel = 3063,
  kLLabel = 3064,
  kDLabel = 3065,
  kColour = 3067,
  kRated = 3068,
  kEnforced = 3069,
  kTakebacks = 3070,
  kViewers = 3071,
  kBaseLabel = 3072,
  kBase = 3073,
  kBonusLabel = 3074,
  kBonus = 3075,
  kMinutes = 3076,
  kFischer = 3078,
  kHourglass = 3079,
  kInfinite = 3080,
  kIgnore = 3081,
  kSend = 3082,
  kRemove = 3083,
  kClose = 3084,
  kWValue = 3086,
  kLValue = 3087,
  kDValue = 3088,
};
enum : int { kAccept = 3000, kDecline = 3001, kPlayerInfo = 3002 };
enum : int { kViewListView = 4061, kViewAction = 4062, kViewClose = 4063 };

void Show(HWND d, int id, bool show) {
  if (HWND c = GetDlgItem(d, id)) ShowWindow(c, show ? SW_SHOWNA : SW_HIDE);
}
void Enable(HWND d, int id, bool on) {
  if (HWND c = GetDlgItem(d, id)) EnableWindow(c, on ? TRUE : FALSE);
}
void Check(HWND d, int id, bool on) { CheckDlgButton(d, id, on ? BST_CHECKED : BST_UNCHECKED); }
void SetText(HWND d, int id, const std::string& text) {
  char now[256] = "";
  GetDlgItemTextA(d, id, now, sizeof now);
  if (text != now) SetDlgItemTextA(d, id, text.c_str());
}
void SetNumber(HWND d, int id, uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%u", value);
  SetText(d, id, text);
}

}  // namespace

ChallengeWindows::ChallengeWindows(OnlineSession& session, HINSTANCE resources, HWND owner,
                                   ChallengeWindowLinks links, OnlineAutoplay* autoplay)
    : s_(session), resources_(resources), owner_(owner), links_(std::move(links)), model_(session, *this, autoplay) {
  seed_ = GetTickCount();
}

ChallengeWindows::~ChallengeWindows() { Destroy(); }

bool ChallengeWindows::Create(const std::string& settingsPath) {
  settingsPath_ = settingsPath;
  if (challenge_) return true;
  challenge_ = CreateSkinnedDialog(resources_, MAKEINTRESOURCEA(155), owner_, ChallengeProc, LPARAM(this));
  return challenge_ != nullptr;
}

void ChallengeWindows::Destroy() {
  if (received_) {
    HWND r = received_;
    received_ = nullptr;
    DestroyWindow(r);
  }
  if (challenge_) {
    model_.SaveSettings(settingsPath_);
    HWND c = challenge_;
    challenge_ = nullptr;
    if (links_.registerWindow) links_.registerWindow(19, c, false);
    DestroyWindow(c);
  }
}

void ChallengeWindows::UserNotice(uint32_t code, const OnlineUserEntry* entry) {
  model_.OnUserNotice(code, entry);
}

uint32_t ChallengeWindows::ReadNumber(int id) const {
  char text[16] = "";
  GetDlgItemTextA(challenge_, id, text, sizeof text);
  return uint32_t(std::strtoul(text, nullptr, 10));
}

void ChallengeWindows::Apply() {
  HWND d = challenge_;
  if (!d || applying_) return;
  applying_ = true;
  const bool post = model_.PostMode();
  const ChallengeSettings& st = model_.Settings();
  const OnlineChallenge& t = model_.Terms();
  const ChallengeControls c = model_.Controls();
  Check(d, kPostMode, post);
  Check(d, kPlayerMode, !post);
  for (int id : {kMinLabel, kMin, kMaxLabel, kMax, kAutopost, kAllow}) Show(d, id, post);
  for (int id : {kPlayersLabel, kPlayers, kChangeLabel, kWLabel, kLLabel, kDLabel, kWValue, kLValue, kDValue})
    Show(d, id, !post);
  Show(d, kIgnore, false);
  Check(d, kIgnore, st.ignore != 0);
  Check(d, kAutopost, st.autopost != 0);
  Check(d, kAllow, st.allow != 0);
  SetNumber(d, kMin, t.lowestRating);
  SetNumber(d, kMax, t.highestRating);
  // Players.
  HWND players = GetDlgItem(d, kPlayers);
  SendMessageA(players, CB_RESETCONTENT, 0, 0);
  int selected = -1;
  for (size_t i = 0; i < model_.Players().size(); ++i) {
    SendMessageA(players, CB_ADDSTRING, 0, LPARAM(model_.Players()[i].c_str()));
    if (model_.Players()[i] == model_.SelectedPlayer()) selected = int(i);
  }
  SendMessageA(players, CB_SETCURSEL, WPARAM(selected), 0);
  const auto preview = model_.RatingPreview();
  SetText(d, kWValue, preview[0]);
  SetText(d, kLValue, preview[1]);
  SetText(d, kDValue, preview[2]);
  // Terms.
  SendDlgItemMessageA(d, kColour, CB_SETCURSEL, WPARAM(t.word7 > kColourRandom ? kColourRandom : t.word7), 0);
  Check(d, kRated, c.rated);
  Enable(d, kRated, c.ratedEnabled);
  Check(d, kEnforced, c.enforced);
  Enable(d, kEnforced, c.enforcedEnabled);
  Check(d, kTakebacks, c.takebacks);
  Enable(d, kTakebacks, c.takebacksEnabled);
  Check(d, kViewers, c.viewers);
  const struct {
    int id;
    uint32_t kind;
    bool enabled;
  } kinds[] = {{kMinutes, kTimeMinutesPerGame, c.minutesEnabled},
               {kFischer, kTimeFischer, c.fischerEnabled},
               {kHourglass, kTimeHourglass, c.hourglassEnabled},
               {kInfinite, kTimeInfinite, c.infiniteEnabled}};
  for (const auto& k : kinds) {
    Check(d, k.id, c.kind == k.kind);
    Enable(d, k.id, k.enabled);
  }
  for (int id : {kBaseLabel, kBase}) Show(d, id, c.showBase);
  for (int id : {kBonusLabel, kBonus}) Show(d, id, c.showBonus);
  SetText(d, kBaseLabel, c.baseLabel);
  SetNumber(d, kBase, t.base);
  SetNumber(d, kBonus, c.kind == kTimeFischer ? t.bonus : 0);
  // Buttons.
  SetText(d, kSend, model_.SendCaption());
  Enable(d, kSend, model_.NothingOut());
  Enable(d, kRemove, !model_.NothingOut());
  applying_ = false;
}

void ChallengeWindows::OnCommand(int id, int code) {
  const ChallengeSettings& st = model_.Settings();
  const OnlineChallenge& t = model_.Terms();
  switch (id) {
    case kPostMode:
      model_.SetPostMode(true);
      break;
    case kPlayerMode:
      model_.SetPostMode(false);
      break;
    case kAutopost:
      model_.SetAutopost(!st.autopost);
      break;
    case kAllow:
      model_.SetAllowChallenges(!st.allow);
      break;
    case kIgnore:
      model_.ToggleIgnoreChallenges();
      break;
    case kPlayers:
      if (code == CBN_SELCHANGE) {
        char name[64] = "";
        const int at = int(SendDlgItemMessageA(challenge_, kPlayers, CB_GETCURSEL, 0, 0));
        if (at >= 0) SendDlgItemMessageA(challenge_, kPlayers, CB_GETLBTEXT, WPARAM(at), LPARAM(name));
        model_.SelectPlayer(name);
      }
      break;
    case kColour:
      if (code == CBN_SELCHANGE)
        model_.SetColour(uint32_t(SendDlgItemMessageA(challenge_, kColour, CB_GETCURSEL, 0, 0)));
      break;
    case kRated:
      model_.SetRated(!(t.timeType & kGameRated));
      break;
    case kEnforced:
      model_.SetEnforced(!(t.timeType & kChallengeEnforced));
      break;
    case kTakebacks:
      model_.SetTakebacks(!(t.timeType & kGameTakebacksAllowed));
      break;
    case kViewers:
      model_.SetViewers(!(t.timeType & kGameViewersAllowed));
      break;
    case kMinutes:
      model_.ChooseKind(kTimeMinutesPerGame);
      break;
    case kFischer:
      model_.ChooseKind(kTimeFischer);
      break;
    case kHourglass:
      model_.ChooseKind(kTimeHourglass);
      break;
    case kInfinite:
      model_.ChooseKind(kTimeInfinite);
      break;
    case kBase:
      if (code == EN_CHANGE) model_.SetBase(ReadNumber(kBase));
      return;
    case kBonus:
      if (code == EN_CHANGE) model_.SetBonus(ReadNumber(kBonus));
      return;
    case kMin:
    case kMax:
      if (code == EN_CHANGE) model_.SetRange(ReadNumber(kMin), ReadNumber(kMax));
      return;
    case kSend:
      model_.Send();
      break;
    case kRemove:
      model_.Withdraw();
      break;
    case kClose:
    case IDCANCEL:
      model_.Close();
      break;
    default:
      return;
  }
  Apply();
}

INT_PTR CALLBACK ChallengeWindows::ChallengeProc(HWND dialog, UINT message, WPARAM first, LPARAM second) {
  auto* self = reinterpret_cast<ChallengeWindows*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      self = reinterpret_cast<ChallengeWindows*>(second);
      SetWindowLongPtrA(dialog, DWLP_USER, second);
      self->challenge_ = dialog;
      SendDlgItemMessageA(dialog, kMin, EM_LIMITTEXT, 4, 0);
      SendDlgItemMessageA(dialog, kMax, EM_LIMITTEXT, 4, 0);
      SendDlgItemMessageA(dialog, kBase, EM_LIMITTEXT, 3, 0);
      SendDlgItemMessageA(dialog, kBonus, EM_LIMITTEXT, 3, 0);
      for (const char* colour : {"You play black", "You play white", "Random color"})
        SendDlgItemMessageA(dialog, kColour, CB_ADDSTRING, 0, LPARAM(colour));
      self->model_.Create(self->settingsPath_);
      self->Apply();
      if (self->links_.registerWindow) self->links_.registerWindow(19, dialog, true);
      return TRUE;
    }
    case WM_COMMAND:
      if (self && !self->applying_) self->OnCommand(LOWORD(first), HIWORD(first));
      return TRUE;
    case WM_CLOSE:
      if (self) {
        self->model_.Close();
        self->Apply();
      }
      return TRUE;
    case kUserNoticeMessage:
      if (self) self->UserNotice(uint32_t(first), reinterpret_cast<const OnlineUserEntry*>(second));
      return TRUE;
  }
  return FALSE;
}

void ChallengeWindows::FillReceived() {
  HWND d = received_;
  if (!d) return;
  const Challenges::ReceivedTexts r = model_.DescribeReceived();
  SetText(d, 3003, r.nickname);
  SetText(d, 3004, r.rating);
  SetText(d, 3005, r.kind);
  SetText(d, 3006, r.base);
  SetText(d, 3007, r.bonus);
  Show(d, 3006, r.showBase);
  Show(d, 3007, r.showBonus);
  SetText(d, 3010, r.category);
  SetText(d, 3011, r.rated);
  const bool rated = !r.win.empty();
  SetText(d, 3020, rated ? "W: " + r.win : "");
  SetText(d, 3021, rated ? "L: " + r.loss : "");
  SetText(d, 3022, rated ? "D: " + r.draw : "");
  SetText(d, 3012, r.colour);
  SetText(d, 3013, r.enforced);
  SetText(d, 3014, r.takebacks);
  SetText(d, 3015, r.adjourned);
  const char* attention[4] = {"ATTENTION!", "If you choose not to", "resume this game, it", "will count as a loss"};
  for (int i = 0; i < 4; ++i) SetText(d, 3016 + i, r.attention ? attention[i] : "");
  Enable(d, kPlayerInfo, r.playerInfo);
}

INT_PTR CALLBACK ChallengeWindows::ReceivedProc(HWND dialog, UINT message, WPARAM first, LPARAM second) {
  auto* self = reinterpret_cast<ChallengeWindows*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      self = reinterpret_cast<ChallengeWindows*>(second);
      SetWindowLongPtrA(dialog, DWLP_USER, second);
      self->received_ = dialog;
      self->FillReceived();
      SetFocus(GetDlgItem(dialog, 3003));
      if (self->links_.registerWindow) self->links_.registerWindow(27, dialog, true);
      return FALSE;
    case WM_COMMAND:
      if (!self) return TRUE;
      switch (LOWORD(first)) {
        case kAccept:
          self->model_.AcceptReceived();
          break;
        case kDecline:
          self->model_.DeclineReceived();
          break;
        case kPlayerInfo:
          self->model_.PlayerInfo();
          break;
      }
      return TRUE;
    case WM_CLOSE:
      return TRUE;  // only Accept, Decline or a withdrawal end it
    case WM_DESTROY:
      if (self) {
        if (self->links_.registerWindow) self->links_.registerWindow(27, dialog, false);
        if (self->received_ == dialog) self->received_ = nullptr;
      }
      return TRUE;
  }
  return FALSE;
}

// --- ChallengeHost ----------------------------------------------------------------

void ChallengeWindows::ControlsChanged() { Apply(); }

void ChallengeWindows::ShowChallengeWindow(bool show) {
  if (!challenge_) return;
  if (show) {
    ShowWindow(challenge_, SW_SHOW);
    SetWindowPos(challenge_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  } else {
    ShowWindow(challenge_, SW_HIDE);
  }
}

void ChallengeWindows::ShowReceivedWindow(bool open) {
  if (open) {
    if (!received_)
      CreateSkinnedDialog(resources_, "IDD_RCVCHALLENGE", owner_, ReceivedProc, LPARAM(this));
    else
      FillReceived();
    if (received_) ShowWindow(received_, SW_SHOW);
  } else if (received_) {
    HWND r = received_;
    received_ = nullptr;
    DestroyWindow(r);
  }
}

bool ChallengeWindows::ChallengeSoundOn() { return links_.challengeSoundOn ? links_.challengeSoundOn() : false; }
void ChallengeWindows::PlayChallengeSound() {
  if (links_.playChallengeSound) links_.playChallengeSound();
}

uint32_t ChallengeWindows::Random() {
  seed_ = seed_ * 1103515245u + 12345u;
  return seed_ >> 16;
}

void ChallengeWindows::MakeGuid(uint8_t guid[16]) {
  GUID g;
  if (CoCreateGuid(&g) != S_OK) {
    for (int i = 0; i < 16; ++i) guid[i] = uint8_t(Random());
    return;
  }
  std::memcpy(guid, &g, 16);
}

bool ChallengeWindows::BeginGame(const OnlineGameDescriptor& game, const std::vector<OnlineMove>* moves) {
  return links_.beginGame && links_.beginGame(game, moves);
}

int32_t ChallengeWindows::NewRating(uint32_t rating, uint32_t opponentRating, uint32_t games,
                                    uint32_t opponentGames, int score) {
  return links_.newRating ? links_.newRating(rating, opponentRating, games, opponentGames, score) : int32_t(rating);
}

void ChallengeWindows::RemoveProfileRatedGame(const uint8_t guid[16]) {
  if (links_.removeProfileRatedGame) links_.removeProfileRatedGame(guid);
}

void ChallengeWindows::IgnoreChallengesChanged(bool on) {
  if (links_.ignoreChallengesChanged) links_.ignoreChallengesChanged(on);
}

bool ChallengeWindows::InOnlineRoom() { return links_.inOnlineRoom ? links_.inOnlineRoom() : true; }

// --- The view list -----------------------------------------------------------------

namespace {

struct ViewListState {
  int mode = 0;
  OnlineSession* session = nullptr;
  std::vector<std::string> buddies;
  ViewListActions actions;
  std::vector<ViewListRow> rows;
  std::vector<ListColumn> columns;
  int selected = -1;
};

void FitColumns(HWND dialog, ViewListState* st) {
  HWND list = GetDlgItem(dialog, kViewListView);
  for (size_t i = 0; i < st->columns.size(); ++i)
    st->columns[i].width = int32_t(SendMessageA(list, LVM_GETCOLUMNWIDTH, WPARAM(i), 0));
  FitListColumns(list, st->columns.data(), int(st->columns.size()), 0);
}

void Act(HWND dialog, ViewListState* st) {
  const int result = RunViewListAction(st->mode, st->selected, st->rows, *st->session, st->actions);
  if (result >= 0) EndDialog(dialog, result);
}

INT_PTR CALLBACK ViewListProc(HWND dialog, UINT message, WPARAM first, LPARAM second) {
  auto* st = reinterpret_cast<ViewListState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      st = reinterpret_cast<ViewListState*>(second);
      SetWindowLongPtrA(dialog, DWLP_USER, second);
      const ViewListModeInfo info = GetViewListModeInfo(st->mode);
      SetWindowTextA(dialog, info.caption);
      RECT client;
      GetClientRect(dialog, &client);
      const int width = client.right - client.left;
      auto place = [&](int id, int centre) {
        HWND c = GetDlgItem(dialog, id);
        RECT r;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(c, nullptr, centre - (r.right - r.left) / 2, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
      };
      if (info.action) {
        SetDlgItemTextA(dialog, kViewAction, info.action);
        place(kViewAction, width / 3);
        place(IDCANCEL, width * 2 / 3);
        Show(dialog, kViewClose, false);
      } else {
        Show(dialog, kViewAction, false);
        Show(dialog, IDCANCEL, false);
        SetDlgItemTextA(dialog, kViewClose, info.close);
        place(kViewClose, width / 2);
      }
      HWND list = GetDlgItem(dialog, kViewListView);
      SendMessageA(list, WM_SETFONT, SendMessageA(dialog, WM_GETFONT, 0, 0), 0);
      SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT,
                   LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT);
      const std::vector<std::string> titles = ViewListColumns(st->mode);
      for (size_t i = 0; i < titles.size(); ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.cx = 100;
        column.pszText = const_cast<char*>(titles[i].c_str());
        column.iSubItem = int(i);
        SendMessageA(list, LVM_INSERTCOLUMNA, WPARAM(i), LPARAM(&column));
        st->columns.push_back({100, int32_t(i)});
      }
      FitListColumns(list, st->columns.data(), int(st->columns.size()), 0);
      st->rows = BuildViewListRows(st->mode, *st->session, st->buddies);
      for (size_t row = 0; row < st->rows.size(); ++row) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = int(row);
        item.pszText = const_cast<char*>(st->rows[row].texts[0].c_str());
        SendMessageA(list, LVM_INSERTITEMA, 0, LPARAM(&item));
        for (size_t col = 1; col < st->rows[row].texts.size(); ++col) {
          LVITEMA sub{};
          sub.iSubItem = int(col);
          sub.pszText = const_cast<char*>(st->rows[row].texts[col].c_str());
          SendMessageA(list, LVM_SETITEMTEXTA, WPARAM(row), LPARAM(&sub));
        }
      }
      return TRUE;
    }
    case WM_NOTIFY: {
      if (!st) return FALSE;
      const auto* hdr = reinterpret_cast<const NMHDR*>(second);
      if (hdr->idFrom == UINT_PTR(kViewListView)) {
        const auto* act = reinterpret_cast<const NMITEMACTIVATE*>(second);
        if (hdr->code == NM_CLICK && act->iItem >= 0) st->selected = act->iItem;
        if ((hdr->code == NM_DBLCLK || hdr->code == LVN_ITEMACTIVATE) && act->iItem >= 0) {
          st->selected = act->iItem;
          Act(dialog, st);
        }
      } else if (hdr->code == HDN_ENDTRACKA || hdr->code == HDN_ENDTRACKW) {
        FitColumns(dialog, st);
      }
      return FALSE;
    }
    case WM_COMMAND:
      if (!st) return TRUE;
      switch (LOWORD(first)) {
        case kViewAction:
          Act(dialog, st);
          break;
        case IDOK:
          if (IsWindowVisible(GetDlgItem(dialog, kViewAction))) Act(dialog, st);
          break;
        case IDCANCEL:
        case kViewClose:
          EndDialog(dialog, 0);
          break;
      }
      return TRUE;
  }
  return FALSE;
}

}  // namespace

INT_PTR RunViewList(HINSTANCE resources, HWND owner, int mode, OnlineSession& session,
                    const std::vector<std::string>& buddies, const ViewListActions& actions) {
  ViewListState state;
  state.mode = mode;
  state.session = &session;
  state.buddies = buddies;
  state.actions = actions;
  return SkinnedDialogBox(resources, "IDD_VIEWLIST", owner, ViewListProc, LPARAM(&state));
}
