// Texts of the analysis progress window and the annotation window without
// their windows: the progress line made from the message table's format,
// and how comments typed by the user are held to their pages' lengths.
//
// Interface: kAnalysisBuildingText, AnalysisProgressText,
// kPlayerCommentLimit, kIvaCommentLimit, CutComment, HasEmbeddedCommands.
#pragma once

#include <cstddef>
#include <string>

extern const char kAnalysisBuildingText[];  // " -- Building Text..."

// The progress line: `format` (message 144) with the percentage as its one
// number; above 99 " -- Building Text..." follows. The format comes from a
// data file, so one that does not take exactly one whole number (and
// otherwise only "%%") is not used as a format: "%d%% complete" stands in.
std::string AnalysisProgressText(const std::string& format, int percent);

// The Player page keeps 512 characters of its comment, the IVA page 8,192.
constexpr size_t kPlayerCommentLimit = 512;
constexpr size_t kIvaCommentLimit = 8192;
std::string CutComment(const std::string& text, size_t limit);
// Play on the pages that play comment 3 is offered only for commentary
// markup, which opens with "{".
bool HasEmbeddedCommands(const char* text);
