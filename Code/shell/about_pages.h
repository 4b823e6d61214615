// The about box's four page texts: About, Credits (made from CREDITS.md at
// build time), History and the staff page. Each line starts with its layout
// letter (see about_text.h).
//
// Interface: AboutPage, AboutPageSource.
#pragma once

#include <string>
#include <vector>

enum class AboutPage { kAbout, kCredits, kHistory, kStaff };

std::vector<std::string> AboutPageSource(AboutPage page);
