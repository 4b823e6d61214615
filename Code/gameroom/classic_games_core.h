// The classic games list without its dialog: which games of the collection
// a search text keeps.
//
// Interface: FilterClassicGames.
#pragma once

#include <string>
#include <vector>

// The numbers of the titles that contain the search text, ignoring case
// (every number for an empty text), in file order. The count comes from the
// collection's index, so a shorter file lists only the games it has.
std::vector<int> FilterClassicGames(const std::vector<std::string>& titles, const std::string& search);
