// The file dialogs' list and folder rules: which entries a folder shows for
// a type and mode and in what order (folders first, then files, each by name
// without regard to case), drive roots, the up button's target, the Look in
// chain, and the reading of a real folder (file_scan_win32.cpp in the
// program, file_scan_native.cpp natively).
//
// Interface: FileListEntry, ListedEntries, IsDriveRoot, ParentFolder,
// JoinFolder, FolderChain, GetFileKind, ReadFolderEntries.
#pragma once

#include <string>
#include <vector>

#include "file_kinds.h"

struct FileListEntry {
  int kind;
  std::string name;
};

// The entries of a folder as the list shows them: hidden ones dropped,
// folders always, other entries when their kind matches the type, sorted by
// "D" + name for folders and "F" + name for files, compared without case.
std::vector<FileListEntry> ListedEntries(const std::vector<FileListEntry>& all, int type, int mode);

// "C:\" or "C:" (a drive letter and a colon, with or without the backslash).
bool IsDriveRoot(const std::string& folder);
// The folder above `folder` ("C:\Games\Old" → "C:\Games", "C:\Games" →
// "C:\"); a drive root stays as it is.
std::string ParentFolder(const std::string& folder);
// A name inside a folder: "%s%s" after a three-character drive root, else
// "%s\%s".
std::string JoinFolder(const std::string& folder, const std::string& name);
// The Look in chain below the drive: "C:\Games\Old" → {"Games", "Old"}.
std::vector<std::string> FolderChain(const std::string& folder);

// From the file system: the kind of one path, and every entry of a folder
// with its kind (unsorted, unfiltered, "." and ".." left out).
int GetFileKind(const std::string& path);
std::vector<FileListEntry> ReadFolderEntries(const std::string& folder);
