#include "lobby_screen.h"

namespace {

struct ButtonRow {
  int action;
  int ids[3];  // dialogs 112, 111, 144
};

const ButtonRow kButtons[] = {
    {1, {21475, 21510, 21810}},   // Game
    {2, {21485, 21520, 21820}},   // Kids
    {3, {21470, 21515, 21815}},   // Classroom
    {4, {21490, 21535, 21835}},   // Library
    {5, {21495, 21530, 21830}},   // Database
    {6, {21480, 21525, 21825}},   // Tournament
    {7, {21500, 21545, 21845}},   // Online
    {kLoginRegister, {21630, 21640, 21840}},
    {kLoginExit, {21635, 21645, 21850}},
};

}  // namespace

LoginScreenKind PickLoginScreen(int width, int height) {
  if (width < 780 && height < 630) return {144, "LOBBY_BACKGROUND_TINY"};
  if (width >= 1000 || height >= 800) return {112, "LOBBY_BACKGROUND_LARGE"};
  return {111, "LOBBY_BACKGROUND_SMALL"};
}

bool LoginScreenNeedsRebuild(int currentDialog, int width, int height) {
  return PickLoginScreen(width, height).dialog != currentDialog;
}

int LoginButtonAction(int dialog, int controlId) {
  const int column = dialog == 112 ? 0 : dialog == 111 ? 1 : dialog == 144 ? 2 : -1;
  if (column < 0) return kLoginNoAction;
  for (const ButtonRow& row : kButtons)
    if (row.ids[column] == controlId) return row.action;
  return kLoginNoAction;
}
