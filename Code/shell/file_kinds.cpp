// File kinds, type filters and name cleaning of the own file dialogs.
#include "file_kinds.h"

#include <cctype>
#include <cstring>

namespace {

bool SameNoCase(const std::string& a, const char* b) {
  const size_t n = std::strlen(b);
  if (a.size() != n) return false;
  for (size_t i = 0; i < n; ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

struct ExtensionKind {
  const char* extension;
  int kind;
};
constexpr ExtensionKind kExtensions[] = {
    {".TXT", kKindText},   {".LAY", kKindLayout},      {".PGN", kKindPgn},        {".TUT", kKindTutorial},
    {".OBK", kKindBook},   {".RWP", kKindPersonality}, {".RWT", kKindTournament}, {".GDG", kKindDatabase},
    {".BMP", kKindBitmap}, {".EXE", kKindProgram},
};

// The text from the last '.', or "" when the name has none.
std::string Extension(const std::string& name) {
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

bool IsGameKind(int kind) { return kind >= kKindGameV4 && kind <= kKindGameV8; }

}  // namespace

int FileKindFromFacts(const FileEntryFacts& f) {
  if (f.hidden) return kKindHidden;
  if (f.folder && !f.name.empty() && f.name[0] == '.') return kKindHidden;
  if (f.driveType >= 2 && f.driveType <= 6) return kKindRemovable + (f.driveType - 2);
  if (f.folder) return kKindFolder;
  const std::string ext = Extension(f.name);
  if (ext.size() == 4) {
    for (const ExtensionKind& e : kExtensions)
      if (SameNoCase(ext, e.extension)) return e.kind;
    if (SameNoCase(ext, ".RWG")) {
      if (f.header.size() < 34 || f.header[32] != 26) return kKindHidden;
      const int version = f.header[33];
      return version >= 4 && version <= 8 ? version : kKindHidden;
    }
  }
  return kKindFile;
}

bool FileKindMatchesType(int type, int kind, int mode) {
  switch (type) {
    case 0:
      return kind != kKindHidden;
    case 2:
      return IsGameKind(kind) || (mode == 0 && kind == kKindPgn);
    case 3:
    case 9:
    case 10:
      return kind == kKindText;
    case 4:
      return kind == kKindPgn;
    case 5:
      return kind == kKindTournament;
    case 7:
      return kind == kKindPersonality;
    case 11:
      return kind == kKindBook;
    case 12:
      return kind == kKindLayout;
    case 14:
      return kind == kKindDatabase;
    case 15:
      return kind == kKindBitmap;
    case 16:
      return kind == kKindProgram;
    default:
      return kind != kKindHidden;
  }
}

const char* TypeExtension(int type) {
  switch (type) {
    case 2:
      return ".RWG";
    case 3:
    case 9:
    case 10:
      return ".TXT";
    case 4:
      return ".PGN";
    case 5:
      return ".RWT";
    case 7:
      return ".RWP";
    case 11:
      return ".OBK";
    case 12:
      return ".LAY";
    case 15:
      return ".BMP";
    case 16:
      return ".EXE";
    default:
      return "";
  }
}

std::string AddTypeExtension(const std::string& name, int type) {
  const char* ext = TypeExtension(type);
  if (!*ext) return name;
  if (SameNoCase(Extension(name), ext)) return name;
  return name + ext;
}

bool CleanFileName(const std::string& typed, std::string* cleaned, bool* warned) {
  static const char kForbidden[] = "\\/:*?\"<>|";
  static const unsigned char kHighKept[] = {138, 154, 156, 159, 161, 182, 191};
  *warned = typed.find_first_of(kForbidden) != std::string::npos;
  std::string out;
  for (char ch : typed) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c == '/') {
      out += '-';
    } else if (c >= 32 && c <= 127) {
      if (!std::strchr(kForbidden, ch)) out += ch;
    } else if (c >= 192 || std::memchr(kHighKept, c, sizeof kHighKept)) {
      out += ch;
    }
  }
  // Blanks at either end go; a name that is then empty cannot be saved
  // (it used to be saved under the placeholder text of string 358).
  const size_t first = out.find_first_not_of(' ');
  if (first == std::string::npos) {
    cleaned->clear();
    return false;
  }
  out = out.substr(first, out.find_last_not_of(' ') - first + 1);
  *cleaned = out;
  return true;
}

std::vector<int> FileTypeNames(int mode, int type) {
  switch (type) {
    case 0:
    case 2:
    case 3:
    case 4:
    case 9:
    case 10: {
      if (mode == 3 || mode == 4) return {366};
      std::vector<int> names{mode == 0 ? 358 : 405};
      if (mode == 1) names.push_back(366);
      if (mode == 0) {
        names.push_back(362);
        names.push_back(370);
      }
      names.push_back(364);
      names.push_back(365);
      return names;
    }
    case 5:
      return {361};
    case 7:
      return {369};
    case 11:
      return {367};
    case 12:
      return {398};
    case 14:
      return {407};
    case 15:
      return {418};
    case 16:
      return {426};
    default:
      return {370};
  }
}

int FileTypeFromName(int mode, int nameId) {
  switch (nameId) {
    case 358:
    case 405:
      return 2;
    case 366:
      return 4;
    case 361:
      return 5;
    case 369:
      return 7;
    case 367:
      return 11;
    case 362:
      return 3;
    case 398:
      return 12;
    case 407:
      return 14;
    case 418:
      return 15;
    case 426:
      return 16;
    case 364:
      return mode == 0 ? 3 : 9;
    case 365:
      return mode == 0 ? 3 : 10;
    case 370:
      return 0;
    default:
      return -1;
  }
}

OpenAsChoices OpenAsList(int type) {
  switch (type) {
    case 2:
      return {{371, 372}, 0, 0};
    case 3:
    case 9:
    case 10:
      return {{377, 378}, 1, 10};
    case 4:
      return {{371, 375}, 0, 0};
    case 5:
      return {{371, 379}, 0, 0};
    case 7:
      return {{371, 380}, 0, 0};
    case 11:
      return {{371, 381}, 0, 0};
    case 12:
      return {{371, 397}, 0, 0};
    case 14:
      return {{371, 406}, 0, 14};
    case 15:
      return {{371, 417}, 0, 15};
    case 16:
      return {{371, 425}, 1, 16};
    default:
      return {{372, 375, 377, 378}, 0, 2};
  }
}

int OpenAsFromName(int nameId, int current) {
  switch (nameId) {
    case 371:
      return 0;
    case 372:
      return 2;
    case 375:
      return 4;
    case 406:
      return 14;
    case 377:
      return 9;
    case 378:
      return 10;
    case 379:
      return 5;
    case 380:
      return 7;
    case 381:
      return 11;
    case 417:
      return 15;
    case 425:
      return 16;
    default:
      return current;  // "Layout" and anything unknown
  }
}
