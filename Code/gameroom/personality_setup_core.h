// The personality set-up dialog without its windows: names typed by the
// user (trimming, the numbered copy of a shipped personality, names refused
// as file names), loading a file into the dialog, the record a Save writes,
// and the conversions between stored values, sliders and edit texts.
//
// Interface: TrimPersonalityName, IsValidPersonalityFileName,
// NumberedPersonalityName, LoadSetupRecord, BuildSavedPersonality,
// ContemptSliderPosition, TenthsText, ParseSliderEdit, ParseTenthsEdit,
// BuildXboardPersonality, CheckXboardImport, IsShippedPersonalityKind,
// TranspositionMaximum, TranspositionLabel.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "personality.h"

// Leading characters below 33 or equal to 127 and trailing characters
// outside 33..126 removed.
std::string TrimPersonalityName(const std::string& name);
// Typed names become file names: not empty, no \ / : * ? " < > | and no "..".
bool IsValidPersonalityFileName(const std::string& name);
// The first "<name>#<n>" (n = 0 .. 9,998) whose ".RWP" file does not exist;
// empty when all are taken.
std::string NumberedPersonalityName(const std::string& name,
                                    const std::function<bool(const std::string& fileName)>& exists);

// The name as the dialog loads it (a leading 'Z', '9', line feed or 0x0F
// dropped; over 260 characters: ignored, empty) and whether the bytes read
// are a valid record: exactly 3,104 of them, format mark 26 and version 8.
// Invalid gives the new-record defaults.
std::string SetupLoadName(const std::string& name);
bool LoadSetupRecord(const std::vector<uint8_t>& bytes, PersonalityRecord* out);

// The 3,104-byte record Save writes from the working record: the signature,
// format, version, kind, pondering, hash, the 23 parameters and the book;
// a custom personality gets "User.BMP" and empty texts, an outside engine
// "Winboard.BMP", empty texts and its engine path and parameters; any other
// kind keeps picture, biography and style. Rating, speed, sex, ages and
// caption are 0 or empty.
void BuildSavedPersonality(const PersonalityRecord& working, uint8_t out[kPersonalityFileSize]);

// Contempt: the slider stands at the stored value / 10 (toward zero),
// clamped to [min, max]; its edit and the material edits show tenths as
// "%s%d.%d".
int ContemptSliderPosition(int32_t stored, int32_t min, int32_t max);
std::string TenthsText(int32_t tenths);
// A typed slider value: the first three characters; a letter first gives
// `max`; otherwise the whole number, clamped. `corrected` tells whether the
// edit must show another text.
int32_t ParseSliderEdit(const std::string& text, int32_t min, int32_t max, bool* corrected);
// A typed decimal ("2.5", "-1.2") as tenths, truncated; false when it is not
// a number.
bool ParseTenthsEdit(const std::string& text, int32_t* tenths);

// "Import XBoard Engine": the record it writes (kind 178, "Winboard.BMP",
// every other byte 0; with the book box, book use 99 and the book name,
// "RWONYX.OBK" when none is shown), and what OK refuses first: 10134 for
// no name, 279 for a name that cannot be a file name, 10135 for no engine
// program; 0 when it may be written.
void BuildXboardPersonality(bool useBook, const std::string& bookName, const std::string& enginePath,
                            const std::string& parameters, uint8_t out[kPersonalityFileSize]);
int CheckXboardImport(const std::string& name, const std::string& enginePath);
// Shipped personalities (grandmasters and the fictional characters) are
// never overwritten by the editor or the import.
inline bool IsShippedPersonalityKind(uint32_t kind) {
  return kind == kGrandmasterPersonality || kind == kFictionalPersonality;
}

// The transposition slider's end: the largest n from 10 down to 1 with
// physical memory - 32 MB >= 2^(n + 18), else 0; and its label ("None" is
// string 1259, given).
int TranspositionMaximum(uint64_t physicalBytes);
std::string TranspositionLabel(int n, const std::string& none);
