// RWLiveLogin.exe under Wine against prosody on loopback: by options and
// through its dialog it creates the account, keeps the password only
// sealed, and starts the program (a stub here) with "mpuser=NAME"; a wrong
// password starts nothing and the dialog says why.
#include <gtest/gtest.h>
#include <windows.h>
#include <wincrypt.h>

#include <fstream>
#include <sstream>
#include <string>

#include "guitest.h"
#include "login_res.h"
#include "rwlive_api.h"
#include "rwlive_settings.h"

namespace {

int ServerPort() {
  std::ifstream in(PROSODY_DIR "/port");
  int port = 0;
  in >> port;
  return port;
}

#define NEED_SERVER()                                                                      \
  const int port = ServerPort();                                                          \
  if (port == 0) GTEST_SKIP() << "no prosody running (is it installed? scripts/setup.sh)"

const std::string kStub = STUB_DIR "/rwlive_login_stub.exe";
const std::string kStubOut = STUB_DIR "/stub_args.txt";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Runs the helper to its end; its exit code, or -1 when it did not end.
int RunHelper(const std::string& arguments) {
  guitest::Program p;
  if (!guitest::StartProgram(LOGIN_EXE, arguments, STUB_DIR, &p)) return -1;
  DWORD code = 0;
  if (!guitest::WaitForProgramEnd(&p, 30000, &code)) {
    guitest::KillProgram(&p);
    return -1;
  }
  return int(code);
}

bool WaitForFile(const std::string& path) {
  return guitest::WaitFor([&] { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; },
                          10000);
}

// Every value under the settings key, as bytes.
std::string AllSettingBytes() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, rwlive::kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return std::string();
  std::string all;
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD nameSize = sizeof name, type = 0, size = 4096;
    BYTE data[4096];
    if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
    all.append(reinterpret_cast<char*>(data), size);
  }
  RegCloseKey(key);
  return all;
}

std::string UnsealedPassword() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, rwlive::kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return "(no key)";
  BYTE blob[2048];
  DWORD type = 0, size = sizeof blob;
  LONG r = RegQueryValueExA(key, rwlive::kPasswordValue, nullptr, &type, blob, &size);
  RegCloseKey(key);
  if (r != ERROR_SUCCESS || type != REG_BINARY) return "(no sealed password)";
  DATA_BLOB in{size, blob}, out{0, nullptr};
  if (!CryptUnprotectData(&in, nullptr, nullptr, nullptr, nullptr, 0, &out)) return "(unsealable)";
  std::string plain(reinterpret_cast<char*>(out.pbData), out.cbData);
  LocalFree(out.pbData);
  return plain;
}

class RWLiveLoginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteFileA(kStubOut.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, rwlive::kSettingsKey);
  }
};

}  // namespace

TEST_F(RWLiveLoginTest, ByOptionsRegistersStoresSealedAndStartsTheProgram) {
  NEED_SERVER();
  const std::string server = " /server 127.0.0.1:" + std::to_string(port);
  ASSERT_EQ(RunHelper(server + " /account lena /password pw-lena-7 /new /program \"" + kStub + "\""), 0);
  ASSERT_TRUE(WaitForFile(kStubOut));
  EXPECT_NE(ReadFile(kStubOut).find("\"mpuser=lena\""), std::string::npos) << ReadFile(kStubOut);
  EXPECT_EQ(AllSettingBytes().find("pw-lena-7"), std::string::npos);
  EXPECT_EQ(UnsealedPassword(), "pw-lena-7");

  // The account exists now: "new" again fails, a wrong password starts nothing.
  DeleteFileA(kStubOut.c_str());
  EXPECT_EQ(RunHelper(server + " /account lena /password wrong /program \"" + kStub + "\""), 1);
  EXPECT_EQ(RunHelper(server + " /account lena /password pw-lena-7 /new /program \"" + kStub + "\""), 1);
  guitest::Pump(500);
  EXPECT_EQ(GetFileAttributesA(kStubOut.c_str()), INVALID_FILE_ATTRIBUTES);
  // A server elsewhere that cannot be reached starts nothing either.
  EXPECT_EQ(RunHelper(" /server lobby.invalid /account lena /password pw /program \"" + kStub + "\""), 1);
  guitest::Pump(300);
  EXPECT_EQ(GetFileAttributesA(kStubOut.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(RWLiveLoginTest, DialogLogsInAndSaysWhyWhenItCannot) {
  NEED_SERVER();
  guitest::Program p;
  const std::string args = " /server 127.0.0.1:" + std::to_string(port) + " /program \"" + kStub + "\"";
  ASSERT_TRUE(guitest::StartProgram(LOGIN_EXE, args, STUB_DIR, &p));
  HWND dialog = nullptr;
  ASSERT_TRUE(guitest::WaitFor([&] { return (dialog = guitest::FindProgramWindow(p, "#32770")) != nullptr; }, 15000));
  guitest::Pump(500);
  SetDlgItemTextA(dialog, IDC_LOGIN_ACCOUNT, "mona");
  SetDlgItemTextA(dialog, IDC_LOGIN_PASSWORD, "secret-mona");
  SendDlgItemMessageA(dialog, IDC_LOGIN_NEW, BM_SETCHECK, BST_CHECKED, 0);
  guitest::Pump(300);
  guitest::ScreenshotTo(RW_LOBBYSVC_ARTEFACTS, "rwlive_login");

  // A first try with a wrong password on an account not made yet: not new,
  // so the login fails and the dialog stays with the reason.
  SendDlgItemMessageA(dialog, IDC_LOGIN_NEW, BM_SETCHECK, BST_UNCHECKED, 0);
  SendMessageA(dialog, WM_COMMAND, IDOK, 0);
  char status[256] = {};
  ASSERT_TRUE(guitest::WaitFor([&] {
    GetDlgItemTextA(dialog, IDC_LOGIN_STATUS, status, sizeof status);
    return std::string(status).rfind("Could not", 0) == 0;
  }, 15000)) << status;
  guitest::Pump(300);
  guitest::ScreenshotTo(RW_LOBBYSVC_ARTEFACTS, "rwlive_login_refused");
  EXPECT_EQ(GetFileAttributesA(kStubOut.c_str()), INVALID_FILE_ATTRIBUTES);

  SendDlgItemMessageA(dialog, IDC_LOGIN_NEW, BM_SETCHECK, BST_CHECKED, 0);
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  DWORD code = 99;
  ASSERT_TRUE(guitest::WaitForProgramEnd(&p, 20000, &code));
  EXPECT_EQ(code, 0u);
  ASSERT_TRUE(WaitForFile(kStubOut));
  EXPECT_NE(ReadFile(kStubOut).find("\"mpuser=mona\""), std::string::npos);
  EXPECT_EQ(UnsealedPassword(), "secret-mona");
}
