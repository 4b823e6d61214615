// File dialog list order and folder paths.
#include "file_list.h"

#include <algorithm>
#include <cctype>

namespace {

std::string SortKey(const FileListEntry& e) {
  std::string key = e.kind == kKindFolder ? "D" : "F";
  for (char ch : e.name) key += static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  return key;
}

bool IsSeparator(char ch) { return ch == '\\' || ch == '/'; }

}  // namespace

std::vector<FileListEntry> ListedEntries(const std::vector<FileListEntry>& all, int type, int mode) {
  std::vector<FileListEntry> listed;
  for (const FileListEntry& e : all) {
    if (e.kind == kKindHidden) continue;
    if (e.kind == kKindFolder || FileKindMatchesType(type, e.kind, mode)) listed.push_back(e);
  }
  std::stable_sort(listed.begin(), listed.end(),
                   [](const FileListEntry& a, const FileListEntry& b) { return SortKey(a) < SortKey(b); });
  return listed;
}

bool IsDriveRoot(const std::string& folder) {
  if (folder.size() < 2 || folder.size() > 3) return false;
  if (!std::isalpha(static_cast<unsigned char>(folder[0])) || folder[1] != ':') return false;
  return folder.size() == 2 || IsSeparator(folder[2]);
}

std::string ParentFolder(const std::string& folder) {
  if (IsDriveRoot(folder)) return folder;
  std::string path = folder;
  while (path.size() > 3 && IsSeparator(path.back())) path.pop_back();
  const size_t cut = path.find_last_of("\\/");
  if (cut == std::string::npos) return folder;
  std::string parent = path.substr(0, cut);
  if (parent.size() == 2 && parent[1] == ':') parent += '\\';
  return parent.empty() ? path.substr(0, 1) : parent;
}

std::string JoinFolder(const std::string& folder, const std::string& name) {
  if (folder.size() == 3 && IsDriveRoot(folder)) return folder + name;
  if (!folder.empty() && IsSeparator(folder.back())) return folder + name;
  return folder + "\\" + name;
}

std::vector<std::string> FolderChain(const std::string& folder) {
  std::vector<std::string> parts;
  size_t at = IsDriveRoot(folder.substr(0, std::min<size_t>(folder.size(), 3))) ? 2 : 0;
  while (at < folder.size()) {
    while (at < folder.size() && IsSeparator(folder[at])) ++at;
    const size_t end = folder.find_first_of("\\/", at);
    const std::string part = folder.substr(at, end == std::string::npos ? std::string::npos : end - at);
    if (!part.empty()) parts.push_back(part);
    if (end == std::string::npos) break;
    at = end;
  }
  return parts;
}
