// The lobby's login screen: which of its three sizes a room window gets,
// and what each of its buttons does. OS-free.
//
// Interface: LoginScreenKind, PickLoginScreen, LoginScreenNeedsRebuild,
// LoginButtonAction, kLoginRegister, kLoginExit, kLoginNoAction.
#pragma once

struct LoginScreenKind {
  int dialog;              // 144, 112 or 111
  const char* background;  // the picture in the resource library
};

// 144 ("LOBBY_BACKGROUND_TINY") when narrower than 780 and lower than 630;
// 112 ("LOBBY_BACKGROUND_LARGE") when at least 1000 wide or 800 high; 111
// ("LOBBY_BACKGROUND_SMALL") otherwise.
LoginScreenKind PickLoginScreen(int width, int height);
// A screen is made again only when the new size picks another dialog.
bool LoginScreenNeedsRebuild(int currentDialog, int width, int height);

constexpr int kLoginRegister = 100;  // open the login dialog
constexpr int kLoginExit = 101;      // close the main frame
constexpr int kLoginNoAction = -1;
// The room (1..7) a button of a screen enters, kLoginRegister, kLoginExit,
// or kLoginNoAction for an id that is no button of that screen.
int LoginButtonAction(int dialog, int controlId);
