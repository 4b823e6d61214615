// About box page lines and click regions.
#include "about_text.h"

#include <cctype>

std::vector<AboutLine> LayOutAboutPage(const std::vector<std::string>& source, bool creditsPage,
                                       const std::string& version) {
  std::vector<AboutLine> lines;
  for (const std::string& line : source) {
    if (line.empty()) {
      lines.push_back({AboutAlign::kLeft, ""});
      continue;
    }
    const std::string rest = line.substr(1);
    switch (std::toupper(static_cast<unsigned char>(line[0]))) {
      case 'C':
        lines.push_back({AboutAlign::kCentre, rest});
        break;
      case 'L':
        lines.push_back({AboutAlign::kLeft, rest});
        break;
      case 'R':
        lines.push_back({AboutAlign::kRight, rest});
        break;
      case 'T':
        lines.push_back({AboutAlign::kHeading, rest});
        break;
      case 'V':
        lines.push_back({AboutAlign::kVersion, version});
        break;
      case 'P':
        lines.push_back({AboutAlign::kPicture, rest});
        break;
      case '~':
        if (creditsPage) {
          const size_t blank = rest.size() > 30 ? rest.find(' ', 30) : std::string::npos;
          if (blank == std::string::npos) {
            lines.push_back({AboutAlign::kCentre, rest});
          } else {
            lines.push_back({AboutAlign::kCentre, rest.substr(0, blank)});
            lines.push_back({AboutAlign::kCentre, rest.substr(blank + 1)});
          }
          break;
        }
        lines.push_back({AboutAlign::kLeft, line});
        break;
      default:
        lines.push_back({AboutAlign::kLeft, line});
        break;
    }
  }
  return lines;
}

bool StaffClickCounter::Click(int x, int y) {
  struct Region {
    int left, top, right, bottom;
  };
  static const Region kRegions[4] = {
      {69, 83, 88, 94}, {97, 83, 114, 92}, {85, 104, 108, 116}, {84, 107, 109, 118}};
  const Region& r = kRegions[count_];
  if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) {
    if (++count_ == 4) {
      count_ = 0;
      return true;
    }
    return false;
  }
  count_ = 0;
  return false;
}
