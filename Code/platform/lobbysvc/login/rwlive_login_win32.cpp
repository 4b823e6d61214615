// RWLiveLogin.exe: the lobby service's login helper. It tries the login
// (creating the account first when asked), keeps the settings for
// RWLiveNet.dll under the user's key with the password sealed by
// CryptProtectData, and starts the program with the player's name.
#include <winsock2.h>
#include <windows.h>
#include <wincrypt.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "login_options.h"
#include "login_res.h"
#include "rwlive_api.h"
#include "rwlive_service.h"
#include "rwlive_settings.h"
#include "xmpp_client.h"

using namespace lobbysvc;

namespace {

std::string Utf8(const std::string& acp) {
  if (acp.empty()) return acp;
  const int n = MultiByteToWideChar(CP_ACP, 0, acp.data(), int(acp.size()), nullptr, 0);
  std::wstring w(size_t(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, acp.data(), int(acp.size()), &w[0], n);
  const int m = WideCharToMultiByte(CP_UTF8, 0, w.data(), n, nullptr, 0, nullptr, nullptr);
  std::string out(size_t(m), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), n, &out[0], m, nullptr, nullptr);
  return out;
}

XmppSettings ToXmpp(const LoginOptions& o) {
  XmppSettings s;
  s.host = o.host;
  s.port = o.port;
  s.account = Utf8(o.account);
  s.password = Utf8(o.password);
  // Only this machine's server is spoken to in the clear.
  s.requireTls = !IsLoopbackHost(o.host);
  s.tlsFingerprint = o.fingerprint;
  return s;
}

// The login tried for real; the reason on failure.
std::string TryLogin(const LoginOptions& o) {
  XmppClient client(ToXmpp(o));
  if (o.newAccount && !client.Register()) return "Could not create the account: " + client.Error();
  if (!client.Login()) return "Could not log in: " + client.Error();
  client.Close();
  return std::string();
}

bool StoreSettings(const LoginOptions& o, std::string* error) {
  DATA_BLOB plain{DWORD(o.password.size()),
                  reinterpret_cast<BYTE*>(const_cast<char*>(o.password.data()))},
      sealed{0, nullptr};
  if (!CryptProtectData(&plain, L"RWLive", nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN,
                        &sealed)) {
    *error = "Could not protect the password.";
    return false;
  }
  HKEY key;
  LONG r = RegCreateKeyExA(HKEY_CURRENT_USER, rwlive::kSettingsKey, 0, nullptr, 0, KEY_WRITE,
                           nullptr, &key, nullptr);
  if (r == ERROR_SUCCESS) {
    const DWORD port = o.port;
    // The embedded server's domain is "localhost"; a server elsewhere is
    // named by its host.
    const std::string domain = IsLoopbackHost(o.host) ? std::string("localhost") : o.host;
    r = RegSetValueExA(key, rwlive::kServerValue, 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(o.host.c_str()), DWORD(o.host.size() + 1));
    if (r == ERROR_SUCCESS)
      r = RegSetValueExA(key, rwlive::kPortValue, 0, REG_DWORD,
                         reinterpret_cast<const BYTE*>(&port), sizeof port);
    if (r == ERROR_SUCCESS)
      r = RegSetValueExA(key, rwlive::kDomainValue, 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(domain.c_str()), DWORD(domain.size() + 1));
    if (r == ERROR_SUCCESS)
      r = RegSetValueExA(key, rwlive::kLoginValue, 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(o.account.c_str()),
                         DWORD(o.account.size() + 1));
    if (r == ERROR_SUCCESS)
      r = RegSetValueExA(key, rwlive::kPasswordValue, 0, REG_BINARY, sealed.pbData, sealed.cbData);
    if (r == ERROR_SUCCESS && !o.fingerprint.empty())
      r = RegSetValueExA(key, rwlive::kFingerprintValue, 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(o.fingerprint.c_str()),
                         DWORD(o.fingerprint.size() + 1));
    else if (r == ERROR_SUCCESS)
      RegDeleteValueA(key, rwlive::kFingerprintValue);
    RegCloseKey(key);
  }
  LocalFree(sealed.pbData);
  if (r != ERROR_SUCCESS) *error = "Could not store the login settings.";
  return r == ERROR_SUCCESS;
}

std::string HelperFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  const size_t slash = folder.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

bool StartProgram(const LoginOptions& o, std::string* error) {
  const std::string program = o.program.empty() ? HelperFolder() + rwlive::kProgramName : o.program;
  std::string command = "\"" + program + "\" \"mpuser=" + o.account + "\"";
  std::string folder = program.substr(0, program.find_last_of("\\/") + 1);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &si, &pi)) {
    *error = "Could not start " + program + ".";
    return false;
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return true;
}

// Everything after the choices are made; the reason on failure.
std::string Run(const LoginOptions& o) {
  std::string error = CheckLoginOptions(o);
  if (!error.empty()) return error;
  error = TryLogin(o);
  if (!error.empty()) return error;
  if (!StoreSettings(o, &error) || !StartProgram(o, &error)) return error;
  return std::string();
}

std::string DlgText(HWND dialog, int id) {
  char buffer[256] = {};
  GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
  return buffer;
}

INT_PTR CALLBACK LoginDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* options = reinterpret_cast<LoginOptions*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      options = reinterpret_cast<LoginOptions*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      const std::string server = options->host + ":" + std::to_string(options->port);
      SetDlgItemTextA(dialog, IDC_LOGIN_SERVER, server.c_str());
      SetDlgItemTextA(dialog, IDC_LOGIN_ACCOUNT, options->account.c_str());
      SendDlgItemMessageA(dialog, IDC_LOGIN_ACCOUNT, EM_LIMITTEXT, rwlive::kLoginNameSize - 1, 0);
      CheckDlgButton(dialog, IDC_LOGIN_NEW, options->newAccount ? BST_CHECKED : BST_UNCHECKED);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      if (LOWORD(wParam) == IDOK) {
        LoginOptions chosen = *options;
        std::string error;
        if (!ParseServer(DlgText(dialog, IDC_LOGIN_SERVER), &chosen)) {
          error = "Please enter the server as host or host:port.";
        } else {
          chosen.account = DlgText(dialog, IDC_LOGIN_ACCOUNT);
          chosen.password = DlgText(dialog, IDC_LOGIN_PASSWORD);
          chosen.newAccount = IsDlgButtonChecked(dialog, IDC_LOGIN_NEW) == BST_CHECKED;
          SetDlgItemTextA(dialog, IDC_LOGIN_STATUS, "Logging in...");
          HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
          error = Run(chosen);
          SetCursor(old);
        }
        if (error.empty()) {
          EndDialog(dialog, IDOK);
        } else {
          // The dialog stays with what was typed, so nothing is lost.
          SetDlgItemTextA(dialog, IDC_LOGIN_STATUS, error.c_str());
        }
        return TRUE;
      }
      break;
  }
  return FALSE;
}

std::vector<std::string> Arguments() {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; wide && i < count; ++i) {
    const int n = WideCharToMultiByte(CP_ACP, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string a(size_t(n > 0 ? n - 1 : 0), '\0');
    if (n > 1) WideCharToMultiByte(CP_ACP, 0, wide[i], -1, &a[0], n, nullptr, nullptr);
    args.push_back(a);
  }
  if (wide) LocalFree(wide);
  return args;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return 1;
  LoginOptions options;
  std::string error;
  int code = 0;
  if (!ParseLoginCommandLine(Arguments(), &options, &error)) {
    MessageBoxA(nullptr, error.c_str(), "RWLive Login", MB_OK | MB_ICONERROR);
    code = 2;
  } else if (options.unattended) {
    error = Run(options);
    code = error.empty() ? 0 : 1;
    if (code) std::fprintf(stderr, "RWLiveLogin: %s\n", error.c_str());
  } else {
    code = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_RWLIVE_LOGIN), nullptr, LoginDialog,
                           reinterpret_cast<LPARAM>(&options)) == IDOK
               ? 0
               : 1;
  }
  WSACleanup();
  return code;
}
