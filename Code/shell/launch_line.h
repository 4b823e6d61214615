// Command lines for starting a browser or a file's registered program: the
// registered command is cut at its placeholder and the address or file
// follows, quoted. An address holding a double quote or a control character
// is refused: inside the quotes it could end the argument and add commands.
//
// Interface: BuildLaunchLine, FileTypeOf.
#pragma once

#include <string>

// The line to run, or "" when `target` is empty or refused.
std::string BuildLaunchLine(const std::string& command, const std::string& target);

// The file type of `file` for the association look-up: the text from its
// first '.', or "" when it has none.
std::string FileTypeOf(const std::string& file);
