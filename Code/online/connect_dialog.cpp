#include "connect_dialog.h"

#include <cstring>

namespace {

bool IsNil(const uint8_t* guid) {
  static const uint8_t nil[16] = {};
  return std::memcmp(guid, nil, 16) == 0;
}

}  // namespace

ConnectDialogModel::ConnectDialogModel(OnlineSession& session, ConnectDialogHost& host) : s_(session), h_(host) {}

void ConnectDialogModel::Reset() {
  c_.status.clear();
  c_.cancelEnabled = c_.hostEnabled = c_.joinEnabled = false;
  c_.checked = MODE_NONE;
  c_.showSessions = c_.showAddress = c_.showModem = false;
  c_.modems.clear();
  c_.selectedModem = -1;
  c_.showGameName = c_.showHost = true;
}

void ConnectDialogModel::StartSession(uint32_t backEnd) {
  c_.timerRunning = false;
  s_.Close();
  s_.Start(backEnd, h_.UserName());
  c_.sessions.clear();
  c_.selectedSession = -1;
  std::memset(selected_, 0, sizeof selected_);
}

void ConnectDialogModel::Initialise(int kind) {
  Reset();
  c_.internetEnabled = c_.lanEnabled = c_.modemEnabled = false;
  c_.lobbyEnabled = true;
  if (kind == 0 && !h_.MpuserArgument().empty()) {
    ChooseMode(MODE_LOBBY);
    Join();
    h_.ControlsChanged();
    return;
  }
  if (h_.LobbyLoginName().empty()) {
    StartSession(0);
    if (h_.DebugSetting("auto_ipx_host")) {
      ChooseMode(MODE_LAN);
      GameNameChanged("abc");
      Host();
    } else if (h_.DebugSetting("auto_ipx_join")) {
      ChooseMode(MODE_LAN);
      autoJoin_ = true;
    } else if (h_.InOnlineRoom()) {
      h_.ShowDialog();
    }
  } else {
    lobbyLaunched_ = true;
    StartSession(0);
    s_.ConnectOnline(CONNECT_LOBBY_LAUNCHED, true, "", "", "");
    s_.LoginOnline(nullptr, true, "");
  }
  h_.ControlsChanged();
}

void ConnectDialogModel::ChooseMode(ConnectMode mode) {
  Reset();
  c_.checked = mode;
  switch (mode) {
    case MODE_LAN:
      c_.showSessions = true;
      StartSession(0);
      c_.hostEnabled = !c_.gameName.empty();
      if (s_.ConnectOnline(CONNECT_LAN, false, "", "", "") == 0) c_.timerRunning = true;
      break;
    case MODE_INTERNET:
      c_.showAddress = true;
      StartSession(0);
      c_.hostEnabled = !c_.gameName.empty();
      c_.joinEnabled = !c_.address.empty();
      break;
    case MODE_MODEM:
      c_.showModem = true;
      StartSession(0);
      c_.hostEnabled = !c_.gameName.empty();
      // The modem list comes again with the connection's address parts.
      s_.EnumOnlineAddresses(CONNECT_MODEM);
      UpdateJoinForModem();
      break;
    case MODE_LOBBY: {
      c_.showGameName = c_.showHost = false;
      const bool handedOver = !h_.MpuserArgument().empty();
      c_.joinEnabled = !handedOver;
      c_.cancelEnabled = handedOver;
      StartSession(1);
      break;
    }
    case MODE_NONE:
      break;
  }
  h_.ControlsChanged();
}

void ConnectDialogModel::GameNameChanged(const std::string& text) {
  c_.gameName = text;
  c_.hostEnabled = !text.empty() && c_.checked != MODE_NONE && c_.checked != MODE_LOBBY;
  h_.ControlsChanged();
}

void ConnectDialogModel::AddressChanged(const std::string& text) {
  c_.address = text;
  c_.joinEnabled = !text.empty() && c_.checked != MODE_NONE;
  h_.ControlsChanged();
}

void ConnectDialogModel::UpdateJoinForModem() {
  c_.joinEnabled = c_.selectedModem >= 0 && !c_.phone.empty();
}

void ConnectDialogModel::PhoneChanged(const std::string& text) {
  c_.phone = text;
  UpdateJoinForModem();
  h_.ControlsChanged();
}

void ConnectDialogModel::ModemSelected(int index) {
  c_.selectedModem = index >= 0 && index < int(c_.modems.size()) ? index : -1;
  UpdateJoinForModem();
  h_.ControlsChanged();
}

void ConnectDialogModel::SessionSelected(int index) {
  if (index >= 0 && index < int(c_.sessions.size())) {
    c_.selectedSession = index;
    std::memcpy(selected_, c_.sessions[size_t(index)].guid, 16);
    c_.joinEnabled = true;
  } else {
    c_.selectedSession = -1;
    std::memset(selected_, 0, sizeof selected_);
    c_.joinEnabled = false;
  }
  h_.ControlsChanged();
}

void ConnectDialogModel::SessionDoubleClicked(int index) {
  SessionSelected(index);
  if (c_.selectedSession >= 0) Join();
}

void ConnectDialogModel::Host() {
  const uint32_t kind = c_.checked >= MODE_LAN && c_.checked <= MODE_MODEM ? uint32_t(c_.checked) : 0;
  const std::string modem = c_.selectedModem >= 0 ? c_.modems[size_t(c_.selectedModem)] : "";
  if (s_.ConnectOnline(kind, true, "", modem, "") != 0 || s_.LoginOnline(nullptr, true, c_.gameName) != 0)
    c_.status = "Connect failed";
  h_.ControlsChanged();
}

void ConnectDialogModel::JoinSession(int row) {
  c_.status = "Connected. login started...";
  s_.LoginOnline(c_.sessions[size_t(row)].guid, false, "");
}

void ConnectDialogModel::Join() {
  if (c_.checked == MODE_LOBBY) {
    if (!h_.MpuserArgument().empty()) {
      s_.LoginOnline(nullptr, false, "RWLIVE");
      c_.cancelEnabled = true;
    } else if (h_.LaunchLobbyHelper()) {
      h_.CloseProgram();
    } else {
      h_.ShowMessage("Unable to Launch the Rookwell Live login");
    }
    h_.ControlsChanged();
    return;
  }
  if (c_.selectedSession >= 0 && !IsNil(selected_)) {
    JoinSession(c_.selectedSession);
    h_.ControlsChanged();
    return;
  }
  int result = -1;
  bool searchAgain = false;
  c_.status = "Connecting...";
  switch (c_.checked) {
    case MODE_MODEM: {
      const std::string modem = c_.selectedModem >= 0 ? c_.modems[size_t(c_.selectedModem)] : "";
      result = s_.ConnectOnline(CONNECT_MODEM, false, "", modem, c_.phone);
      searchAgain = true;
      break;
    }
    case MODE_LAN:
      result = s_.ConnectOnline(CONNECT_LAN, false, "", "", "");
      break;
    case MODE_INTERNET:
      result = s_.ConnectOnline(CONNECT_INTERNET, false, c_.address, "", "");
      searchAgain = true;
      break;
    default:
      break;
  }
  if (result == 0) {
    if (searchAgain) c_.timerRunning = true;
    c_.cancelEnabled = true;
    c_.joinEnabled = false;
  } else {
    c_.status = "Connect failed";
  }
  h_.ControlsChanged();
}

void ConnectDialogModel::Cancel() {
  s_.Close();
  // Never 0 here: that would join the handed-over lobby session again.
  Initialise(c_.checked == MODE_NONE ? -1 : int(c_.checked));
}

void ConnectDialogModel::Timer() {
  if (!c_.timerRunning) return;
  c_.sessions.clear();
  c_.selectedSession = -1;
  const uint32_t kind = c_.checked >= MODE_LAN && c_.checked <= MODE_MODEM ? uint32_t(c_.checked) : 0;
  s_.ConnectOnline(kind, false, "", "", "");
  h_.ControlsChanged();
}

void ConnectDialogModel::OnRecord(const LobbyEvent& r) {
  if (lobbyLaunched_) return;
  switch (r.kind) {
    case LOBBY_CONNECTION_FOUND:
      if (r.addressKind == CONNECT_LAN) c_.lanEnabled = true;
      if (r.addressKind == CONNECT_INTERNET) {
        c_.internetEnabled = true;
        s_.EnumOnlineAddresses(CONNECT_INTERNET);
      }
      if (r.addressKind == CONNECT_MODEM) {
        c_.modemEnabled = true;
        s_.EnumOnlineAddresses(CONNECT_MODEM);
      }
      break;
    case LOBBY_ADDRESS:
      if (r.addressKind == CONNECT_MODEM && !r.text.empty()) {
        c_.modems.push_back(r.text);
        if (c_.selectedModem < 0) c_.selectedModem = 0;
        if (c_.checked == MODE_MODEM) UpdateJoinForModem();
      }
      break;
    case LOBBY_SESSION_FOUND: {
      if (r.addressKind != uint32_t(c_.checked)) break;
      ConnectSessionRow row;
      row.name = r.text;
      std::memcpy(row.guid, r.session, 16);
      c_.sessions.push_back(row);
      const int index = int(c_.sessions.size()) - 1;
      if (c_.checked == MODE_LAN && !autoJoin_) {
        // The session chosen before a refresh stays chosen when found again.
        if (IsNil(selected_) || std::memcmp(selected_, r.session, 16) == 0) {
          c_.selectedSession = index;
          std::memcpy(selected_, r.session, 16);
          c_.joinEnabled = true;
        }
      } else {
        c_.selectedSession = index;
        std::memcpy(selected_, r.session, 16);
        JoinSession(index);
      }
      break;
    }
    default:
      break;
  }
  h_.ControlsChanged();
}
