// The command line's user and the cleaning of user names at start-up.
#include "startup_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(StartupRules, CommandLineUserIsEverythingBehindTheKey) {
  EXPECT_EQ(CommandLineUser(nullptr), nullptr);
  EXPECT_EQ(CommandLineUser("Rookwell.exe -x"), nullptr);
  EXPECT_STREQ(CommandLineUser("mpuser=Anna Berg"), "Anna Berg");
  EXPECT_STREQ(CommandLineUser("-a mpuser= Anna "), " Anna ");
  EXPECT_STREQ(CommandLineUser("mpuser="), "");
}

TEST(StartupRules, NamesAreTrimmedCutOnceAndRefusedWhenTheyLeaveTheFolder) {
  struct Case {
    const char* raw;
    const char* clean;
    int ok;
  };
  const Case cases[] = {
      {"Anna Berg", "Anna Berg", 1},
      {"  Anna  ", "Anna", 1},
      {"..\\x", "..\\x", 0},
      {"a/b", "a/b", 0},
      {"Name.", "Name.", 0},
      {"..", "..", 0},
      {".", ".", 0},
      {"", "", 0},
      {"   ", "", 0},
      {"C:x", "C:x", 0},
      {"abcdefghijklmnopqrstuvwxyz0123456789", "abcdefghijklmnopqrstuvwxyz01234", 1},
      {"abcdefghijklmnopqrstuvwxyz0123 .", "abcdefghijklmnopqrstuvwxyz0123", 1},  // cut, then trimmed
  };
  for (const Case& c : cases) {
    char out[32];
    EXPECT_EQ(CleanUserName(c.raw, out, sizeof out), c.ok) << c.raw;
    EXPECT_STREQ(out, c.clean) << c.raw;
  }
  char small[4];
  EXPECT_EQ(CleanUserName("Anna", small, sizeof small), 1);
  EXPECT_STREQ(small, "Ann");
  EXPECT_EQ(CleanUserName(nullptr, small, sizeof small), 0);
}

TEST(StartupRules, OnlyTheEightRoomsAreRooms) {
  for (int room : {-1, 8, 9999}) EXPECT_EQ(ValidRoomNumber(room), 0) << room;
  for (int room = 0; room < 8; ++room) EXPECT_EQ(ValidRoomNumber(room), 1) << room;
}

}  // namespace
