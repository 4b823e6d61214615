// The about box's page lines and its staff-page clicks, without the window.
//
// Interface: AboutAlign, AboutLine, LayOutAboutPage, StaffClickCounter.
#pragma once

#include <string>
#include <vector>

enum class AboutAlign { kLeft, kCentre, kRight, kHeading, kVersion, kPicture };

struct AboutLine {
  AboutAlign align;
  std::string text;  // for kPicture: the picture's item name
};

// The lines of a page as shown: the first letter of each source line (any
// case) says its layout and is not shown; on the credits page a "~" line is
// split at the first blank after its 30th character, the rest becoming the
// next line, centred. `version` fills a "V" line.
std::vector<AboutLine> LayOutAboutPage(const std::vector<std::string>& source, bool creditsPage,
                                       const std::string& version);

// Right-clicks on the current box picture: four regions hit in order switch
// the staff page on; a click outside the next expected region starts over.
class StaffClickCounter {
 public:
  // True when this click completed the four.
  bool Click(int x, int y);
  int count() const { return count_; }

 private:
  int count_ = 0;
};
