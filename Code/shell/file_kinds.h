// The own file dialogs' rules that need no window: the kind of a directory
// entry (its extension, or a saved game's format version), which kinds a file
// type lists, the type and open-as lists each mode and type offer, and the
// cleaning of a typed name. The dialog itself (file_dialog_win32.cpp) gathers
// the facts from the file system and hands them in.
//
// Interface: FileKind, FileEntryFacts, FileKindFromFacts, FileKindMatchesType,
// TypeExtension, AddTypeExtension, CleanFileName, FileTypeNames,
// FileTypeFromName, OpenAsList, OpenAsFromName.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum FileKind : uint8_t {
  kKindHidden = 0,
  kKindFile = 1,
  kKindGameV4 = 4,  // 4..8: a saved game by format version
  kKindGameV8 = 8,
  kKindDatabase = 9,
  kKindBitmap = 10,
  kKindText = 11,
  kKindPgn = 12,
  kKindTutorial = 13,
  kKindPersonality = 14,
  kKindTournament = 15,
  kKindBook = 16,
  kKindFolder = 17,
  kKindRemovable = 18,  // 18..22: drive roots
  kKindFixed = 19,
  kKindRemote = 20,
  kKindCdRom = 21,
  kKindRamDisk = 22,
  kKindLayout = 23,
  kKindProgram = 24,
};

// What the dialog knows of an entry. `driveType` is the system's drive type
// of the path (2 removable .. 6 RAM disk; anything else: not a drive root).
// `header` holds the first bytes of a ".RWG" file, as many as were read
// (only the first 34 matter).
struct FileEntryFacts {
  std::string name;
  bool hidden = false;
  bool folder = false;
  int driveType = 0;
  std::vector<uint8_t> header;
};

int FileKindFromFacts(const FileEntryFacts& facts);

// Whether an entry of `kind` is listed under file type `type` in `mode`.
// Folders are listed always; the caller keeps that rule.
bool FileKindMatchesType(int type, int kind, int mode);

// The extension a type adds on OK (".RWG", ".TXT", ...), or "" for none.
const char* TypeExtension(int type);

// `name` with the type's extension appended when it has none or another
// one (compared without case).
std::string AddTypeExtension(const std::string& name, int type);

// The typed name cleaned for saving. Returns false when nothing usable is
// left (the dialog shows string 356 and stays open); `warned` tells whether
// one of the nine forbidden characters was present (string 355 first).
bool CleanFileName(const std::string& typed, std::string* cleaned, bool* warned);

// String ids of the file-type list for `mode` and `type`, in list order.
std::vector<int> FileTypeNames(int mode, int type);
// The type a chosen type name sets (-1 for an id not in the table).
int FileTypeFromName(int mode, int nameId);

// The open-as list that follows a file type: string ids, the index of the
// selected one and the open-as value it sets.
struct OpenAsChoices {
  std::vector<int> names;
  int selected = 0;
  int value = 0;
};
OpenAsChoices OpenAsList(int type);
// The open-as value a chosen name gives; "Layout" (397) keeps `current`.
int OpenAsFromName(int nameId, int current);
