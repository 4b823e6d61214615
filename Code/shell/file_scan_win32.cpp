// Folder reading for the file dialogs over the system's find and attribute
// calls; a saved game's kind comes from its first 34 bytes.
#include <windows.h>

#include "file_list.h"

namespace {

std::vector<uint8_t> ReadHeader(const std::string& path) {
  std::vector<uint8_t> header(34);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD got = 0;
  if (file != INVALID_HANDLE_VALUE) {
    if (!ReadFile(file, header.data(), 34, &got, nullptr)) got = 0;
    CloseHandle(file);
  }
  header.resize(got);
  return header;
}

std::string LastComponent(const std::string& path) {
  std::string trimmed = path;
  while (trimmed.size() > 3 && (trimmed.back() == '\\' || trimmed.back() == '/')) trimmed.pop_back();
  const size_t cut = trimmed.find_last_of("\\/");
  return cut == std::string::npos ? trimmed : trimmed.substr(cut + 1);
}

FileEntryFacts Facts(const std::string& path, DWORD attributes) {
  FileEntryFacts facts;
  facts.name = IsDriveRoot(path) ? path : LastComponent(path);
  facts.hidden = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN);
  facts.folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  // Only a drive's root has a drive type; asked of another path the system
  // may answer for the current drive.
  if (IsDriveRoot(path)) {
    const std::string root = path.size() == 2 ? path + "\\" : path;
    facts.driveType = static_cast<int>(GetDriveTypeA(root.c_str()));
  }
  if (!facts.folder && !facts.hidden && facts.driveType == 0) facts.header = ReadHeader(path);
  return facts;
}

}  // namespace

int GetFileKind(const std::string& path) {
  return FileKindFromFacts(Facts(path, GetFileAttributesA(path.c_str())));
}

std::vector<FileListEntry> ReadFolderEntries(const std::string& folder) {
  std::vector<FileListEntry> entries;
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA(JoinFolder(folder, "*.*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return entries;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    FileEntryFacts facts = Facts(JoinFolder(folder, name), found.dwFileAttributes);
    entries.push_back({FileKindFromFacts(facts), name});
  } while (FindNextFileA(find, &found));
  FindClose(find);
  return entries;
}
