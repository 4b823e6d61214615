// "Master Class Points" (the user's four point counters as rows of stars,
// their total and the certificate of the level reached) and the diagnostic
// exams' results "Alder Brackwater Diagnostic".
//
// Interface: ShowMasterClass, ShowDiagnosticResults, MasterClassCounters,
// ReadMasterClassCounters, DrawShadowText.
#pragma once

#include <windows.h>

#include <cstdint>

struct UserProfile;

// The user's counters as the window shows them. The record keeps them in
// its generic fields: the three kids room counters (tutorials, drill and
// exercise runs, coach's games) in the first 12 of its 16 spare bytes, the
// personalities beaten in the kids room in word1; the value beside the name
// is the overall rating.
struct MasterClassCounters {
  int32_t counter[4];  // in profile order
  int32_t beside;
};
MasterClassCounters ReadMasterClassCounters(const UserProfile& user);

void ShowMasterClass(HWND owner);
void ShowDiagnosticResults(HWND owner);
// The text twice without prefix processing: palette colour 238 two pixels
// to the right, then palette colour 41 in place.
void DrawShadowText(HDC dc, const char* text, const RECT& rect);
