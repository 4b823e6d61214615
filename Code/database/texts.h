// Small texts of the database module: dates, times, results, and its trace.
//
// Interface: ParseDateText, ParseTimeText, FormatDateText, FormatTimeText,
// PgnResultText, SetMonthNames, GdBaseDll, SetTraceSink.
#pragma once

namespace gdbase {

// Day-first texts ("12 aug 1999", "12.08.1999") and PGN's year-first form
// ("1999.08.12", "1840.??.??"): a first number above 31 is the year.
void ParseDateText(const char* text, int* day, int* month, int* year);
void ParseTimeText(const char* text, int* hours, int* minutes, int* seconds);
// "????.??.??" with the known parts filled in; out needs 11 bytes.
void FormatDateText(char* out, unsigned year, unsigned month, unsigned day);
// "??:??:??" with each part below 100 filled in; out needs 9 bytes.
void FormatTimeText(char* out, unsigned hours, unsigned minutes, unsigned seconds);
int PgnResultText(char* out, int result);

// Twelve abbreviations, January first; the library start sets the user's.
void SetMonthNames(const char* const names[12]);

// The module trace: "GdBaseDll: " and the formatted text, at most 255
// characters, to the sink (the debugger output in the library).
using TraceSink = void (*)(const char* line);
void SetTraceSink(TraceSink sink);
void GdBaseDll(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// The library's error box ("Internal Error!" and the message); tests and
// native builds install their own sink.
using ErrorSink = void (*)(const char* message);
void SetErrorSink(ErrorSink sink);
void ShowModuleError(const char* message);

}  // namespace gdbase
