// The connect dialog's decisions: which mode is chosen, which controls show
// and which are enabled, what the session layer is asked on each button and
// on each record it posts, and the search timer. The Win32 dialog draws the
// controls from ConnectControls and passes every user action and record in.
//
// Interface: ConnectMode, ConnectControls, ConnectDialogHost,
// ConnectDialogModel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "session.h"

// The four mode buttons; the first three are the connection kinds.
enum ConnectMode : int { MODE_NONE = 0, MODE_LAN = 1, MODE_INTERNET = 2, MODE_MODEM = 3, MODE_LOBBY = 4 };

constexpr uint32_t kConnectSearchMs = 10000;

struct ConnectSessionRow {
  std::string name;
  uint8_t guid[16] = {};
};

struct ConnectControls {
  bool internetEnabled = false, lanEnabled = false, modemEnabled = false, lobbyEnabled = false;
  ConnectMode checked = MODE_NONE;
  bool hostEnabled = false, joinEnabled = false, cancelEnabled = false;
  bool showGameName = true, showHost = true, showSessions = false, showAddress = false, showModem = false;
  std::string status;
  std::vector<ConnectSessionRow> sessions;
  int selectedSession = -1;
  std::vector<std::string> modems;
  int selectedModem = -1;
  std::string gameName, address, phone;
  bool timerRunning = false;
};

class ConnectDialogHost {
 public:
  virtual ~ConnectDialogHost() = default;
  virtual std::string UserName() = 0;
  // The "mpuser=" name handed over on the command line; empty when none.
  virtual std::string MpuserArgument() = 0;
  // The name an outside lobby launched the program for; empty when none.
  virtual std::string LobbyLoginName() = 0;
  virtual int DebugSetting(const char* key) = 0;  // [debug] of the settings file
  virtual bool InOnlineRoom() = 0;
  virtual void ShowDialog() = 0;
  // Starts the outside lobby's helper; false when it could not start.
  virtual bool LaunchLobbyHelper() = 0;
  virtual void CloseProgram() = 0;
  virtual void ShowMessage(const std::string& text) = 0;
  virtual void ControlsChanged() = 0;
};

class ConnectDialogModel {
 public:
  ConnectDialogModel(OnlineSession& session, ConnectDialogHost& host);

  const ConnectControls& Controls() const { return c_; }
  // At creation (`kind` 0) and again after Cancel with the current kind.
  void Initialise(int kind);
  void ChooseMode(ConnectMode mode);
  void GameNameChanged(const std::string& text);
  void AddressChanged(const std::string& text);
  void PhoneChanged(const std::string& text);
  void ModemSelected(int index);
  void SessionSelected(int index);
  void SessionDoubleClicked(int index);
  void Host();
  void Join();
  void Cancel();
  void Timer();
  void OnRecord(const LobbyEvent& record);
  bool LobbyLaunched() const { return lobbyLaunched_; }

 private:
  void Reset();
  void StartSession(uint32_t backEnd);
  void UpdateJoinForModem();
  void JoinSession(int row);

  OnlineSession& s_;
  ConnectDialogHost& h_;
  ConnectControls c_;
  uint8_t selected_[16] = {};
  bool autoJoin_ = false;
  bool lobbyLaunched_ = false;
};
