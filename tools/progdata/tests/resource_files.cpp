#include "resource_files.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

uint16_t U16(const std::vector<uint8_t>& d, size_t at) { return uint16_t(d[at] | d[at + 1] << 8); }
uint32_t U32(const std::vector<uint8_t>& d, size_t at) {
  return d[at] | d[at + 1] << 8 | d[at + 2] << 16 | static_cast<uint32_t>(d[at + 3]) << 24;
}

std::string Trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
  return s.substr(a, b - a);
}

bool ParseStringLine(const std::string& line, StringEntry* e, std::string* why) {
  size_t i = 0;
  while (i < line.size() && (std::isupper(static_cast<unsigned char>(line[i])) ||
                             std::isdigit(static_cast<unsigned char>(line[i])) || line[i] == '_'))
    ++i;
  e->name = line.substr(0, i);
  if (e->name.rfind("IDS_", 0) != 0 || e->name.size() == 4) return *why = "name", false;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  size_t digits = i;
  while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i]))) ++i;
  if (i == digits || i - digits > 5) return *why = "id", false;
  e->id = std::stoi(line.substr(digits, i - digits));
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  if (i >= line.size() || line[i] != '"') return *why = "opening quote", false;
  e->text.clear();
  for (++i; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '"') break;
    if (c < 0x20 || c > 0x7E) return *why = "character", false;
    if (c != '\\') {
      e->text += c;
      continue;
    }
    if (++i >= line.size()) return *why = "escape", false;
    switch (line[i]) {
      case '\\': e->text += '\\'; break;
      case '"': e->text += '"'; break;
      case 'r': e->text += '\r'; break;
      case 'n': e->text += '\n'; break;
      case 't': e->text += '\t'; break;
      default: return *why = "escape", false;
    }
  }
  if (i >= line.size()) return *why = "closing quote", false;
  if (!Trim(line.substr(i + 1)).empty()) return *why = "text after the closing quote", false;
  return true;
}

}  // namespace

bool ReadStringSources(const std::string& dir, std::vector<StringEntry>* out, std::string* error) {
  std::vector<std::string> files;
  for (const auto& item : std::filesystem::directory_iterator(dir))
    if (item.path().extension() == ".str") files.push_back(item.path().string());
  std::sort(files.begin(), files.end());
  for (const std::string& file : files) {
    std::ifstream f(file, std::ios::binary);
    std::string line;
    for (int number = 1; std::getline(f, line); ++number) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const std::string t = Trim(line);
      if (t.empty() || t[0] == '#') continue;
      StringEntry e;
      std::string why;
      e.where = file + ":" + std::to_string(number);
      if (!ParseStringLine(t, &e, &why)) {
        *error = e.where + ": bad " + why;
        return false;
      }
      out->push_back(e);
    }
  }
  return true;
}

const std::vector<std::pair<std::string, std::string>>* IniFile::Section(const std::string& name) const {
  for (const auto& s : sections)
    if (s.first == name) return &s.second;
  return nullptr;
}

std::string IniFile::Get(const std::string& section, const std::string& key, const std::string& missing) const {
  if (const auto* keys = Section(section))
    for (const auto& kv : *keys)
      if (kv.first == key) return kv.second;
  return missing;
}

bool ReadIniFile(const std::string& path, IniFile* out) {
  const std::vector<uint8_t> bytes = ReadFileBytes(path);
  if (bytes.empty()) return false;
  std::string text(bytes.begin(), bytes.end());
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    if (end < text.size() && (line.empty() || line.back() != '\r')) out->crlf = false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    at = end + 1;
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      const size_t close = line.find(']');
      if (close == std::string::npos) return false;
      out->sections.push_back({line.substr(1, close - 1), {}});
      continue;
    }
    const size_t eq = line.find('=');
    if (eq == std::string::npos || out->sections.empty()) return false;
    out->sections.back().second.push_back({line.substr(0, eq), line.substr(eq + 1)});
  }
  return true;
}

bool ParseIconFile(const std::vector<uint8_t>& d, IconFile* out) {
  if (d.size() < 6 || U16(d, 0) != 0) return false;
  out->type = U16(d, 2);
  const int count = U16(d, 4);
  if ((out->type != 1 && out->type != 2) || count < 1 || d.size() < 6 + 16u * count) return false;
  for (int n = 0; n < count; ++n) {
    const size_t e = 6 + 16 * n;
    IconImage img;
    img.width = d[e] ? d[e] : 256;
    img.height = d[e + 1] ? d[e + 1] : 256;
    const uint32_t size = U32(d, e + 8), offset = U32(d, e + 12);
    if (offset + size > d.size() || size < 40 || U32(d, offset) != 40) return false;
    if (static_cast<int32_t>(U32(d, offset + 4)) != img.width ||
        static_cast<int32_t>(U32(d, offset + 8)) != 2 * img.height)
      return false;
    img.bits = U16(d, offset + 14);
    if (out->type == 2) {
      img.hotX = U16(d, e + 4);
      img.hotY = U16(d, e + 6);
    } else if (U16(d, e + 6) != img.bits) {
      return false;
    }
    const size_t colours = img.bits <= 8 ? (size_t(1) << img.bits) * 4 : 0;
    const size_t xorStride = ((size_t(img.width) * img.bits + 31) / 32) * 4;
    const size_t andStride = ((size_t(img.width) + 31) / 32) * 4;
    const size_t xorAt = offset + 40 + colours, andAt = xorAt + xorStride * img.height;
    if (andAt + andStride * img.height > offset + size) return false;
    img.alpha.resize(size_t(img.width) * img.height);
    for (int y = 0; y < img.height; ++y) {
      const size_t row = size_t(img.height - 1 - y);  // stored bottom-up
      for (int x = 0; x < img.width; ++x) {
        const bool clear = d[andAt + row * andStride + x / 8] & (0x80 >> (x % 8));
        uint8_t a = clear ? 0 : 255;
        if (img.bits == 32 && !clear) a = d[xorAt + row * xorStride + 4 * x + 3];
        img.alpha[size_t(y) * img.width + x] = a;
      }
    }
    out->images.push_back(std::move(img));
  }
  return true;
}

bool ParseAniFile(const std::vector<uint8_t>& d, AniFile* out) {
  if (d.size() < 12 || std::string(d.begin(), d.begin() + 4) != "RIFF" ||
      std::string(d.begin() + 8, d.begin() + 12) != "ACON" || 8 + U32(d, 4) != d.size())
    return false;
  bool header = false;
  for (size_t at = 12; at < d.size();) {
    if (at + 8 > d.size()) return false;
    const std::string id(d.begin() + at, d.begin() + at + 4);
    const uint32_t size = U32(d, at + 4);
    const size_t body = at + 8;
    if (body + size > d.size()) return false;
    if (id == "anih") {
      if (size != 36 || U32(d, body) != 36) return false;
      out->frames = U32(d, body + 4);
      out->steps = U32(d, body + 8);
      out->rate = U32(d, body + 28);
      out->flags = U32(d, body + 32);
      header = true;
    } else if (id == "LIST" && size >= 4 && std::string(d.begin() + body, d.begin() + body + 4) == "fram") {
      for (size_t p = body + 4; p < body + size;) {
        if (p + 8 > body + size || std::string(d.begin() + p, d.begin() + p + 4) != "icon") return false;
        const uint32_t n = U32(d, p + 4);
        if (p + 8 + n > body + size) return false;
        out->frameBytes.emplace_back(d.begin() + p + 8, d.begin() + p + 8 + n);
        p += 8 + n + (n & 1);
      }
    }
    at = body + size + (size & 1);
  }
  return header;
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}
