// Folder reading for native builds and tests, over std::filesystem. There is
// no hidden attribute here; names starting with "." count as hidden.
#include <cstdio>
#include <filesystem>

#include "file_list.h"

namespace fs = std::filesystem;

namespace {

FileEntryFacts FactsOf(const fs::path& path) {
  FileEntryFacts facts;
  facts.name = path.filename().string();
  std::error_code ec;
  facts.folder = fs::is_directory(path, ec);
  facts.hidden = !facts.name.empty() && facts.name[0] == '.' && !facts.folder;
  if (!facts.folder) {
    if (std::FILE* f = std::fopen(path.string().c_str(), "rb")) {
      facts.header.resize(34);
      facts.header.resize(std::fread(facts.header.data(), 1, 34, f));
      std::fclose(f);
    }
  }
  return facts;
}

}  // namespace

int GetFileKind(const std::string& path) { return FileKindFromFacts(FactsOf(path)); }

std::vector<FileListEntry> ReadFolderEntries(const std::string& folder) {
  std::vector<FileListEntry> entries;
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(folder, ec)) {
    const FileEntryFacts facts = FactsOf(e.path());
    entries.push_back({FileKindFromFacts(facts), facts.name});
  }
  return entries;
}
