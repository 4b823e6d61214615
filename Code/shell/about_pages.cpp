#include "about_pages.h"

namespace {

const char* const kAbout[] = {
    "PboxOnyx.bmp",
    "TRookwell Onyx",
    "V",
    "C",
    "CA chess program for home players:",
    "Cplay a personality on the big board,",
    "Clearn in the classroom, follow a",
    "Ctournament, read the library's",
    "Copenings, keep your games in the",
    "Cdatabase and meet others online.",
    "C",
    "TThe rooms",
    "CGame Room: your game against the",
    "Cpersonality of your choice.",
    "CClassroom: lessons and drills.",
    "CKids Room: chess for beginners.",
    "CLibrary: opening books.",
    "CDatabase: games to search and study.",
    "CTournament Room: events and ratings.",
    "CRookwell Live: play online.",
    "C",
    "TThe engine",
    "CCorvane, the program's own engine,",
    "Cplays every personality.",
    "C",
};

const char* const kCredits[] = {
#include "about_credits.inc"
};

const char* const kHistory[] = {
    "THistory",
    "C",
    "CRookwell began as a board, a rules",
    "Cmodule and an engine that talked to",
    "Ceach other over pipes.",
    "C",
    "CThe rooms came next: the game room",
    "Cwith its personalities, the classroom",
    "Cwith its drills, the library with its",
    "Copening books and the database with",
    "Cits game files.",
    "C",
    "CThen the tournament room, printing,",
    "Csounds, movies and online play.",
    "C",
    "CEvery picture, sound and font of the",
    "Cprogram is made from free sources",
    "Cwhen it is built.",
    "C",
};

const char* const kStaff[] = {
    "TThe Rookwell team",
    "C",
    "PstaffRules.bmp",
    "TRules",
    "CThe board, the moves and the games",
    "C",
    "PstaffEngine.bmp",
    "TEngine",
    "CCorvane and the personalities",
    "C",
    "PstaffBoards.bmp",
    "TBoards",
    "CThe chess sets and the board view",
    "C",
    "PstaffRooms.bmp",
    "TRooms",
    "CThe shell, the toolkit and the skin",
    "C",
    "PstaffSound.bmp",
    "TSound",
    "CEvery sound and spoken move",
    "C",
    "PstaffPictures.bmp",
    "TPictures",
    "CEvery movie, picture and font",
    "C",
    "PstaffTests.bmp",
    "TTests",
    "CEvery window under Wine",
    "C",
    "CThank you for playing.",
    "C",
};

template <size_t N>
std::vector<std::string> Lines(const char* const (&lines)[N]) {
  return std::vector<std::string>(lines, lines + N);
}

}  // namespace

std::vector<std::string> AboutPageSource(AboutPage page) {
  switch (page) {
    case AboutPage::kCredits:
      return Lines(kCredits);
    case AboutPage::kHistory:
      return Lines(kHistory);
    case AboutPage::kStaff:
      return Lines(kStaff);
    case AboutPage::kAbout:
    default:
      return Lines(kAbout);
  }
}
