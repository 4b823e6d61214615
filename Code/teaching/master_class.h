// The master class window's arithmetic: which certificate button the total
// of the four point counters reaches, and where a row of stars goes.
//
// Interface: kCertificateButtons, MasterClassButton, StarRow,
// StarRowPositions, kDiagnosticFirstSlot, kDiagnosticExams.
#pragma once

#include <vector>

// The certificate buttons "10", "25", "50" and "100".
constexpr int kCertificateButtons[4] = {30470, 30475, 30480, 30485};
constexpr int kCertificatePoints[4] = {10, 25, 50, 100};

// The one button a total enables (the highest level reached), 0 below 10.
int MasterClassButton(int total);

// The left edges of `count` stars of `starWidth` along a row from `left` to
// `right`: a star's width apart, or closer, (row width - star width) /
// count, when they would not fit. A count of 0 or below gives no stars.
// `end` gets the x position after the row (`left` without stars).
std::vector<int> StarRowPositions(int left, int right, int starWidth, int count, int* end);

// The diagnostic exams' ratings are the user's completion slots 401-410.
constexpr int kDiagnosticFirstSlot = 401;
constexpr int kDiagnosticExams = 10;
