// The user record file, user names and the user list (see user_file.h).
#include "user_file.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <system_error>

#include "heapkit.h"
#include "profile.h"

namespace fs = std::filesystem;

namespace {

constexpr int kHeapTag = 66;
// No record file comes near this; a larger file is not read at all.
constexpr uintmax_t kLargestUserFile = 64u << 20;

class Writer {
 public:
  explicit Writer(std::vector<uint8_t>* out) : out_(out) {}
  void Word(int32_t value) {
    uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) out_->push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  void Bytes(const void* data, size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    out_->insert(out_->end(), p, p + size);
  }
  void Zeros(size_t size) { out_->insert(out_->end(), size, 0); }
  void Ratings(const RatingBlock (&set)[3]) {
    for (const RatingBlock& block : set) {
      Word(block.rating);
      Word(block.second);
      Bytes(block.date, sizeof block.date);
    }
  }
  void List(int32_t count, const void* entries) {
    if (count < 0 || !entries) count = 0;
    Word(count);
    Bytes(entries, static_cast<size_t>(count) * kUserGameEntrySize);
  }

 private:
  std::vector<uint8_t>* out_;
};

class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  size_t Left() const { return size_ - pos_; }
  int32_t Word() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(data_[pos_ + i]) << (8 * i);
    pos_ += 4;
    return static_cast<int32_t>(v);
  }
  void Bytes(void* out, size_t size) {
    std::memcpy(out, data_ + pos_, size);
    pos_ += size;
  }
  void Ratings(RatingBlock (&set)[3]) {
    for (RatingBlock& block : set) {
      block.rating = Word();
      block.second = Word();
      Bytes(block.date, sizeof block.date);
    }
  }
  // The list's entries, after its count has been checked against what is
  // left of the file.
  void* List(int32_t count) {
    if (count == 0) return nullptr;
    size_t size = static_cast<size_t>(count) * kUserGameEntrySize;
    void* block = memAlloc_rel(size, kHeapTag);
    if (block) std::memcpy(block, data_ + pos_, size);
    pos_ += size;
    return block;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

// True when `count` entries and then `after` more bytes fit in what is left.
bool CountFits(int32_t count, size_t left, size_t after) {
  if (count < 0) return false;
  if (left < after) return false;
  return static_cast<uint64_t>(count) <= (left - after) / kUserGameEntrySize;
}

// Bytes of the fixed part before N1 and between the first list and N2.
constexpr size_t kBeforeFirstList = 4068;
constexpr size_t kBetweenLists = 4 + 300;

bool IsForbiddenInFileName(unsigned char c) { return c < 32 || std::strchr("<>:\"/\\|?*", c) != nullptr; }

}  // namespace

size_t UserFileSize(const UserProfile& profile) {
  size_t n1 = profile.games && profile.gameCount > 0 ? static_cast<size_t>(profile.gameCount) : 0;
  size_t n2 = profile.games2 && profile.gameCount2 > 0 ? static_cast<size_t>(profile.gameCount2) : 0;
  return kUserFileFixedSize + kUserGameEntrySize * (n1 + n2);
}

std::vector<uint8_t> EncodeUserFile(const UserProfile& profile) {
  std::vector<uint8_t> out;
  out.reserve(UserFileSize(profile));
  Writer w(&out);
  w.Bytes(profile.name, sizeof profile.name);
  w.Bytes(profile.description, sizeof profile.description);
  w.Word(profile.baseRating);
  for (int32_t word : profile.table) w.Word(word);
  for (const auto& pair : profile.pairs) {
    w.Word(pair[0]);
    w.Word(pair[1]);
  }
  w.Bytes(profile.reserved, sizeof profile.reserved);
  w.Word(profile.word1);
  w.Ratings(profile.ratings);
  w.List(profile.gameCount, profile.games);
  w.Word(profile.word2);
  w.Ratings(profile.ratings2);
  w.List(profile.gameCount2, profile.games2);
  return out;
}

bool DecodeUserFile(const uint8_t* data, size_t size, UserProfile* profile) {
  if (!profile) return false;
  ClearUserProfile(profile);
  if (!data || size < kUserFileFixedSize) return false;
  Reader r(data, size);
  UserProfile p{};
  r.Bytes(p.name, sizeof p.name);
  p.name[kUserNameSize - 1] = '\0';
  r.Bytes(p.description, sizeof p.description);
  p.description[sizeof p.description - 1] = '\0';
  p.baseRating = r.Word();
  for (int32_t& word : p.table) word = r.Word();
  for (auto& pair : p.pairs) {
    pair[0] = r.Word();
    pair[1] = r.Word();
  }
  r.Bytes(p.reserved, sizeof p.reserved);
  p.word1 = r.Word();
  r.Ratings(p.ratings);
  p.gameCount = r.Word();
  // Both counts are bounded by what the file holds before any block is
  // taken: the first list must leave room for the rest of the fixed part.
  if (!CountFits(p.gameCount, r.Left(), kBetweenLists + 4)) return false;
  size_t afterFirst = r.Left() - static_cast<size_t>(p.gameCount) * kUserGameEntrySize;
  {
    Reader peek(data + (size - afterFirst) + kBetweenLists, 4);
    int32_t count2 = peek.Word();
    if (!CountFits(count2, afterFirst, kBetweenLists + 4)) return false;
  }
  p.games = r.List(p.gameCount);
  if (p.gameCount && !p.games) return false;
  p.word2 = r.Word();
  r.Ratings(p.ratings2);
  p.gameCount2 = r.Word();
  p.games2 = r.List(p.gameCount2);
  if (p.gameCount2 && !p.games2) {
    FreeUserLists(&p);
    return false;
  }
  std::memcpy(p.path, profile->path, sizeof p.path);
  *profile = p;
  return true;
}

void FreeUserLists(UserProfile* profile) {
  if (!profile) return;
  memFree_rel(profile->games);
  memFree_rel(profile->games2);
  profile->games = profile->games2 = nullptr;
  profile->gameCount = profile->gameCount2 = 0;
}

void ClearUserProfile(UserProfile* profile) {
  if (!profile) return;
  char path[sizeof profile->path];
  std::memcpy(path, profile->path, sizeof path);
  *profile = UserProfile{};
  std::memcpy(profile->path, path, sizeof path);
}

void MakeNewUserProfile(UserProfile* profile, const char* name, const char* description,
                        const char* dateText) {
  ClearUserProfile(profile);
  std::snprintf(profile->name, sizeof profile->name, "%s", name ? name : "");
  std::snprintf(profile->description, sizeof profile->description, "%s", description ? description : "");
  profile->baseRating = 1600;
  for (auto& pair : profile->pairs) pair[0] = 10000, pair[1] = 0;
  for (RatingBlock* set : {profile->ratings, profile->ratings2}) {
    for (int i = 0; i < 3; ++i) {
      set[i].rating = set[i].second = 1600;
      std::snprintf(set[i].date, sizeof set[i].date, "%s", dateText ? dateText : "");
    }
  }
}

int CheckNewUserName(const char* name, char* out) {
  if (out) out[0] = '\0';
  if (!name || !out) return kUserNameRequired;
  size_t length = std::strlen(name);
  for (size_t i = 0; i < length; ++i) {
    if (IsForbiddenInFileName(static_cast<unsigned char>(name[i]))) return kUserNameInvalid;
  }
  size_t begin = 0, end = length;
  while (begin < end && name[begin] == ' ') ++begin;
  while (end > begin && name[end - 1] == ' ') --end;
  if (end > begin && name[end - 1] == '.') return kUserNameInvalid;
  if (end - begin > static_cast<size_t>(kUserNameLimit)) end = begin + kUserNameLimit;
  // Cutting may leave blanks or a dot at the end again.
  while (end > begin && name[end - 1] == ' ') --end;
  if (end > begin && name[end - 1] == '.') return kUserNameInvalid;
  if (end == begin) return kUserNameRequired;
  std::memcpy(out, name + begin, end - begin);
  out[end - begin] = '\0';
  return kUserNameOk;
}

bool IsUserNameUsable(const char* name) {
  char clean[kUserNameSize];
  return name && CheckNewUserName(name, clean) == kUserNameOk && std::strcmp(clean, name) == 0 &&
         std::strcmp(name, ".") != 0;
}

bool UsesSettingsTemplate(const char* templateName) {
  if (!templateName || !templateName[0]) return false;
  char upper[5] = {};
  if (std::strlen(templateName) != 4) return true;
  for (int i = 0; i < 4; ++i)
    upper[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(templateName[i])));
  return std::strcmp(upper, "NONE") != 0;
}

const char* DefaultLayoutFileName(int width, int height) {
  if (width >= 1280 && height >= 1024) return "Default(1280x1024).LAY";
  if (width >= 1024 && height >= 768) return "Default(1024x768).LAY";
  return "Default(800x600).LAY";
}

std::string JoinPath(const std::string& folder, const std::string& name) {
#ifdef _WIN32
  const char separator = '\\';
#else
  const char separator = '/';
#endif
  if (folder.empty()) return name;
  if (folder.back() == separator || folder.back() == '/') return folder + name;
  return folder + separator + name;
}

std::vector<std::string> ListUsers(const std::string& usersFolder) {
  std::vector<std::string> users;
  std::error_code ec;
  fs::directory_iterator it(fs::u8path(usersFolder), ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    std::error_code dirError;
    if (!it->is_directory(dirError)) continue;
    std::string name = it->path().filename().u8string();
    if (name.empty() || name[0] == '.' || name.size() > static_cast<size_t>(kUserNameLimit)) continue;
    std::error_code fileError;
    if (!fs::is_regular_file(it->path() / fs::u8path(name + ".usr"), fileError)) continue;
    users.push_back(name);
  }
  std::sort(users.begin(), users.end());
  return users;
}

bool UserExists(const std::vector<std::string>& users, const char* name) {
  if (!name) return false;
  for (const std::string& user : users) {
    if (user.size() != std::strlen(name)) continue;
    bool same = true;
    for (size_t i = 0; same && i < user.size(); ++i) {
      same = std::tolower(static_cast<unsigned char>(user[i])) ==
             std::tolower(static_cast<unsigned char>(name[i]));
    }
    if (same) return true;
  }
  return false;
}

bool WriteUserFileAt(const std::string& path, const UserProfile& profile) {
  std::vector<uint8_t> bytes = EncodeUserFile(profile);
  fs::path target = fs::u8path(path);
  fs::path temporary = fs::u8path(path + ".tmp");
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;
      fs::remove(temporary, ignored);
      return false;
    }
  }
  std::error_code ec;
  fs::rename(temporary, target, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return false;
  }
  return true;
}

bool ReadUserFileAt(const std::string& path, UserProfile* profile) {
  if (!profile) return false;
  ClearUserProfile(profile);
  std::error_code ec;
  fs::path file = fs::u8path(path);
  uintmax_t size = fs::file_size(file, ec);
  if (ec || size > kLargestUserFile) return false;
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (static_cast<size_t>(in.gcount()) != bytes.size()) return false;
  return DecodeUserFile(bytes.data(), bytes.size(), profile);
}

void SetIniWhitePlayerName(const std::string& iniPath, const char* name) {
  static const char* const kSections[] = {"gameroom", "kidsroom", "classroom", "libraryroom",
                                          "tournamentroom"};
  for (const char* section : kSections)
    ProfileWriteString(section, "white_player_name", name, iniPath.c_str());
}
