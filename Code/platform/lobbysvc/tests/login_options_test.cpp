// RWLiveLogin's options and the checks before any connection.
#include <gtest/gtest.h>

#include "login_options.h"

using namespace lobbysvc;

TEST(LoginOptions, ServerText) {
  struct Case {
    const char* text;
    bool ok;
    const char* host;
    int port;
  } cases[] = {
      {"127.0.0.1", true, "127.0.0.1", 5222},   {"localhost:6000", true, "localhost", 6000},
      {"127.0.0.1:65535", true, "127.0.0.1", 65535}, {"[::1]:7000", true, "[::1]", 7000},
      {"::1", true, "::1", 5222},               {"host:", false, "", 0},
      {"host:0", false, "", 0},                 {"host:65536", false, "", 0},
      {"host:12a", false, "", 0},               {":5222", false, "", 0},
      {"", false, "", 0},
  };
  for (const Case& c : cases) {
    LoginOptions o;
    EXPECT_EQ(ParseServer(c.text, &o), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(o.host, c.host) << c.text;
      EXPECT_EQ(o.port, c.port) << c.text;
    }
  }
}

TEST(LoginOptions, CommandLineAndChecks) {
  LoginOptions o;
  std::string error;
  ASSERT_TRUE(ParseLoginCommandLine({"/server", "localhost:6001", "/account", "lena", "/password",
                                     "pw", "/new", "/program", "C:\\stub.exe"},
                                    &o, &error));
  EXPECT_TRUE(o.unattended);
  EXPECT_TRUE(o.newAccount);
  EXPECT_EQ(o.port, 6001);
  EXPECT_EQ(o.program, "C:\\stub.exe");
  EXPECT_EQ(CheckLoginOptions(o), "");

  LoginOptions dialog;
  ASSERT_TRUE(ParseLoginCommandLine({"/account", "lena"}, &dialog, &error));
  EXPECT_FALSE(dialog.unattended);  // no password: the dialog asks
  EXPECT_FALSE(ParseLoginCommandLine({"/password"}, &dialog, &error));
  EXPECT_FALSE(ParseLoginCommandLine({"/bogus"}, &dialog, &error));
  EXPECT_FALSE(ParseLoginCommandLine({"/fingerprint", "12:34"}, &dialog, &error));
  ASSERT_TRUE(ParseLoginCommandLine({"/fingerprint", std::string(32, 'A') + ":" + std::string(32, 'b')},
                                    &dialog, &error));
  EXPECT_EQ(dialog.fingerprint, std::string(32, 'a') + std::string(32, 'b'));

  struct Bad {
    std::string account, password, host;
  } bad[] = {{"", "pw", "127.0.0.1"},
             {"sixteen_letters_", "pw", "127.0.0.1"},
             {"tab\tname", "pw", "127.0.0.1"},
             {"lena", "", "127.0.0.1"}};
  for (const Bad& b : bad) {
    LoginOptions x;
    x.account = b.account;
    x.password = b.password;
    x.host = b.host;
    EXPECT_NE(CheckLoginOptions(x), "") << b.account << "/" << b.host;
  }
}
