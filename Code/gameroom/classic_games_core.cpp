#include "classic_games_core.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Upper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::toupper(c)); });
  return s;
}

}  // namespace

std::vector<int> FilterClassicGames(const std::vector<std::string>& titles, const std::string& search) {
  const std::string wanted = Upper(search.substr(0, 128));
  std::vector<int> numbers;
  for (size_t i = 0; i < titles.size(); ++i)
    if (wanted.empty() || Upper(titles[i]).find(wanted) != std::string::npos) numbers.push_back(int(i));
  return numbers;
}
