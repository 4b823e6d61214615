// mkpack: writes a packed data set (NAME.idx and NAME.dat) from files.
//
//   mkpack [-l LIST] OUTPUT_BASE [ITEM...]
//
// ITEM is [KIND:]PATH[=NAME]. KIND is "stored" (the default, tag "0000"),
// "adpcm" (16-bit mono PCM, from a WAVE file or raw samples, stored as IMA
// ADPCM "ADPC"), "implode" (stored imploded, "PKZP"), or any other four
// characters, used as the tag of an item stored as it is (e.g. "MP3 ").
// NAME defaults to the file's name without its folder. A LIST file holds one
// ITEM per line; blank lines and lines starting with '#' are skipped.
// Entries are sorted by the same ASCII case-folded order that Packfile's
// lookup uses; names that differ only in case are refused.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "pack_writer.h"
#include "packfile.h"

namespace {

using Bytes = std::vector<uint8_t>;

bool ReadAll(const std::string& path, Bytes* out) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  out->assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  return !f.bad();
}

bool WriteAll(const std::string& path, const Bytes& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(f);
}

uint32_t U32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

// The samples of a WAVE file (16-bit mono PCM only), or the bytes as they
// are when the file is not a WAVE file.
bool PcmSamples(const std::string& path, const Bytes& file, Bytes* pcm, std::string* error) {
  if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0 || std::memcmp(&file[8], "WAVE", 4) != 0) {
    *pcm = file;
    return true;
  }
  bool formatOk = false;
  for (size_t at = 12; at + 8 <= file.size();) {
    uint32_t size = U32(&file[at + 4]);
    size_t body = at + 8;
    size_t available = file.size() - body;
    if (std::memcmp(&file[at], "fmt ", 4) == 0 && size >= 16 && available >= 16) {
      unsigned format = file[body] | file[body + 1] << 8;
      unsigned channels = file[body + 2] | file[body + 3] << 8;
      unsigned bits = file[body + 14] | file[body + 15] << 8;
      formatOk = format == 1 && channels == 1 && bits == 16;
    } else if (std::memcmp(&file[at], "data", 4) == 0) {
      if (!formatOk) {
        *error = path + ": only 16-bit mono PCM WAVE files can be ADPCM-encoded";
        return false;
      }
      pcm->assign(file.begin() + body, file.begin() + body + (size < available ? size : available));
      return true;
    }
    if (size >= available) break;
    at = body + size + (size & 1);
  }
  *error = path + ": no sound data in the WAVE file";
  return false;
}

bool ParseItem(const std::string& itemArg, packfile::PackItem* item, std::string* error) {
  std::string rest = itemArg, kind = "stored";
  size_t colon = rest.find(':');
  if (colon != std::string::npos) {
    std::string head = rest.substr(0, colon);
    if (head == "stored" || head == "adpcm" || head == "implode" || head.size() == 4) {
      kind = head;
      rest = rest.substr(colon + 1);
    }
  }
  std::string path = rest, name;
  size_t eq = rest.rfind('=');
  if (eq != std::string::npos) {
    path = rest.substr(0, eq);
    name = rest.substr(eq + 1);
  } else {
    size_t slash = path.find_last_of("/\\");
    name = slash == std::string::npos ? path : path.substr(slash + 1);
  }
  Bytes data;
  if (!ReadAll(path, &data)) {
    *error = path + ": cannot be read";
    return false;
  }
  if (kind == "adpcm") {
    Bytes pcm;
    if (!PcmSamples(path, data, &pcm, error)) return false;
    *item = packfile::AdpcmItem(name, pcm);
  } else if (kind == "implode") {
    *item = packfile::ImplodedItem(name, data);
  } else {
    std::string tag = kind == "stored" ? "0000" : kind;
    *item = packfile::StoredItem(name, std::move(data), DAT_KIND(tag[0], tag[1], tag[2], tag[3]));
  }
  return true;
}

int Usage() {
  std::fprintf(stderr,
               "usage: mkpack [-l LIST] OUTPUT_BASE [[KIND:]PATH[=NAME]...]\n"
               "  KIND: stored (default), adpcm, implode, or a four-character tag\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> itemArgs;
  std::string base;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "-l") {
      if (++i == argc) return Usage();
      std::ifstream list(argv[i]);
      if (!list) {
        std::fprintf(stderr, "mkpack: %s: cannot be read\n", argv[i]);
        return 1;
      }
      for (std::string line; std::getline(list, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (!line.empty() && line[0] != '#') itemArgs.push_back(line);
      }
    } else if (base.empty()) {
      base = a;
    } else {
      itemArgs.push_back(a);
    }
  }
  if (base.empty()) return Usage();

  std::vector<packfile::PackItem> items;
  std::string error;
  for (const std::string& itemArg : itemArgs) {
    packfile::PackItem item;
    if (!ParseItem(itemArg, &item, &error)) {
      std::fprintf(stderr, "mkpack: %s\n", error.c_str());
      return 1;
    }
    items.push_back(std::move(item));
  }
  Bytes index, data;
  if (!packfile::BuildPack(std::move(items), &index, &data, &error)) {
    std::fprintf(stderr, "mkpack: %s\n", error.c_str());
    return 1;
  }
  if (!WriteAll(base + ".dat", data) || !WriteAll(base + ".idx", index)) {
    std::fprintf(stderr, "mkpack: %s.idx/.dat: cannot be written\n", base.c_str());
    return 1;
  }
  return 0;
}
