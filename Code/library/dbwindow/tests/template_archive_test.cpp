// The template archive: member headers of every size width, with and without
// comment and extra byte; the results 0-4; names and extensions refused;
// nothing left behind by a failed extraction; index members in the index
// folder; real files through the C library.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "template_archive.h"

namespace {

// Files in memory; a name in `refuse` cannot be created.
class MemoryFiles final : public TemplateFiles {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> folders, refuse;

  std::unique_ptr<TemplateInput> OpenRead(const std::string& path) override {
    auto it = files.find(path);
    if (it == files.end()) return nullptr;
    return std::make_unique<Input>(it->second);
  }
  std::unique_ptr<TemplateOutput> Create(const std::string& path) override {
    if (refuse.count(path)) return nullptr;
    files[path].clear();
    return std::make_unique<Output>(&files[path]);
  }
  void Remove(const std::string& path) override { files.erase(path); }
  bool MakeFolder(const std::string& path) override {
    folders.insert(path);
    return true;
  }

 private:
  struct Input final : TemplateInput {
    explicit Input(std::string d) : data(std::move(d)) {}
    size_t Read(void* into, size_t size) override {
      size_t n = std::min(size, data.size() - at);
      std::copy(data.begin() + long(at), data.begin() + long(at + n), static_cast<char*>(into));
      at += n;
      return n;
    }
    bool Skip(uint32_t size) override {
      if (data.size() - at < size) return false;
      at += size;
      return true;
    }
    std::string data;
    size_t at = 0;
  };
  struct Output final : TemplateOutput {
    explicit Output(std::string* t) : target(t) {}
    bool Write(const void* d, size_t size) override {
      target->append(static_cast<const char*>(d), size);
      return true;
    }
    bool Close() override { return true; }
    std::string* target;
  };
};

int Extract(MemoryFiles* files) {
  return ExtractTemplateMembers(files, "NewBase.dat", "C:\\db\\mine.gdg", "new", "C:\\db\\GdIndex\\", nullptr,
                                nullptr);
}

TEST(TemplateArchive, Crc32IsTheStandardOne) {
  EXPECT_EQ(TemplateCrc32(0, "123456789", 9), 0xCBF43926u);
  EXPECT_EQ(TemplateCrc32(0, "", 0), 0u);
  // Fed in pieces it gives the same.
  EXPECT_EQ(TemplateCrc32(TemplateCrc32(0, "1234", 4), "56789", 5), 0xCBF43926u);
}

TEST(TemplateArchive, ReadsHeadersOfEveryWidthWithCommentAndExtraByte) {
  const std::string data(300, 'd');  // above one byte's range: widths differ
  struct Case {
    int width;
    const char* comment;
    bool extra;
    std::string data;
  } cases[] = {
      {0, nullptr, false, data}, {1, nullptr, false, data}, {2, nullptr, false, data},
      {3, nullptr, false, "small"}, {0, "a comment", false, data}, {2, nullptr, true, data},
      {3, "c", true, "xy"},
  };
  for (const Case& c : cases) {
    MemoryFiles files;
    files.files["NewBase.dat"] = WriteTemplateMember("new.gdg", c.data, c.width, c.comment, c.extra) +
                                 WriteTemplateMember("NEW.GDX", "second", c.width);
    SCOPED_TRACE(c.width);
    ASSERT_EQ(Extract(&files), kTemplateDone);
    EXPECT_EQ(files.files["C:\\db\\mine.gdg"], c.data);
    EXPECT_EQ(files.files["C:\\db\\mine.gdx"], "second");  // extension in lower case
  }
}

TEST(TemplateArchive, ThreeByteWidthIsAWordThenTheThirdByte) {
  const std::string data(70000, 'z');  // 0x11170: needs bits 16-23
  MemoryFiles files;
  files.files["NewBase.dat"] = WriteTemplateMember("new.gdg", data, 1);
  ASSERT_EQ(Extract(&files), kTemplateDone);
  EXPECT_EQ(files.files["C:\\db\\mine.gdg"].size(), data.size());
}

TEST(TemplateArchive, ResultsOfBadArchives) {
  const std::string good = WriteTemplateMember("new.gdg", "games");
  std::string badMagic = good;
  badMagic[0] = 'X';
  std::string packed = good;
  packed[2] = 8;  // low nibble: a packing method
  std::string highMethod = good;
  highMethod[2] = char(0x10);
  std::string badCrc = good;
  badCrc.back() = 'X';
  std::string longName = WriteTemplateMember("new." + std::string(70, 'g'), "x");
  struct Case {
    const char* what;
    std::string archive;
    int result;
  } cases[] = {
      {"bad magic", badMagic, kTemplateTargetFailed},
      {"packed method", packed, kTemplateBadMember},
      {"high nibble of a copied member", highMethod, kTemplateBadMember},
      {"checksum", badCrc, kTemplateChecksum},
      {"name over 64 bytes", longName, kTemplateBadMember},
      {"path in the extension", WriteTemplateMember("new.gd\\..\\x", "x"), kTemplateBadMember},
      {"dots in the extension", WriteTemplateMember("new.gdg.exe", "x"), kTemplateBadMember},
      {"no extension", WriteTemplateMember("new", "x"), kTemplateBadMember},
      {"cut short in the data", good.substr(0, good.size() - 2), kTemplateBadMember},
      {"cut short in the header", good.substr(0, 9), kTemplateBadMember},
      {"one stray byte", good + "D", kTemplateBadMember},
      {"empty archive", "", kTemplateDone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryFiles files;
    files.files["NewBase.dat"] = c.archive;
    EXPECT_EQ(Extract(&files), c.result);
    if (c.result != kTemplateDone) {
      EXPECT_EQ(files.files.size(), 1u) << "a failed run leaves no file";
    }
  }
  MemoryFiles none;
  EXPECT_EQ(Extract(&none), kTemplateNoArchive);
}

TEST(TemplateArchive, AFailureRemovesEveryFileThisRunWrote) {
  MemoryFiles files;
  std::string bad = WriteTemplateMember("new.ghi", "index");
  bad.back() = '!';
  files.files["NewBase.dat"] = WriteTemplateMember("new.gdg", "games") + bad;
  files.files["C:\\db\\other.gdg"] = "someone else's";
  EXPECT_EQ(Extract(&files), kTemplateChecksum);
  EXPECT_EQ(files.files.count("C:\\db\\mine.gdg"), 0u);
  EXPECT_EQ(files.files.count("C:\\db\\GdIndex\\mine.ghi"), 0u);
  EXPECT_EQ(files.files["C:\\db\\other.gdg"], "someone else's");

  MemoryFiles refused;
  refused.files["NewBase.dat"] = WriteTemplateMember("new.gdg", "games") + WriteTemplateMember("new.gdx", "x");
  refused.refuse.insert("C:\\db\\mine.gdx");
  EXPECT_EQ(Extract(&refused), kTemplateTargetFailed);
  EXPECT_EQ(refused.files.size(), 1u);
}

TEST(TemplateArchive, SkipsOtherMembersAndPutsIndexMembersInTheIndexFolder) {
  MemoryFiles files;
  files.files["NewBase.dat"] = WriteTemplateMember("readme.txt", std::string(5000, 'r')) +
                               WriteTemplateMember("New.GDG", "games") + WriteTemplateMember("new.gdk", "keys") +
                               WriteTemplateMember("newer.gdg", "not ours") + WriteTemplateMember("new.ghi", "idx");
  std::vector<std::string> named;
  int calls = 0;
  struct Seen {
    std::vector<std::string>* named;
    int* calls;
  } seen{&named, &calls};
  ASSERT_EQ(ExtractTemplateMembers(&files, "NewBase.dat", "C:\\db\\mine.base.gdg", "NEW", "C:\\db\\GdIndex\\",
                                   [](const char* target, void* user) {
                                     auto* s = static_cast<Seen*>(user);
                                     ++*s->calls;
                                     if (target) s->named->push_back(target);
                                   },
                                   &seen),
            kTemplateDone);
  EXPECT_EQ(files.files["C:\\db\\mine.base.gdg"], "games");
  EXPECT_EQ(files.files["C:\\db\\GdIndex\\mine.base.gdk"], "keys");
  EXPECT_EQ(files.files["C:\\db\\GdIndex\\mine.base.ghi"], "idx");
  EXPECT_EQ(files.files.count("C:\\db\\mine.base.txt"), 0u);
  EXPECT_EQ(files.folders.count("C:\\db\\GdIndex\\"), 1u);
  EXPECT_EQ(named, (std::vector<std::string>{"C:\\db\\mine.base.gdg", "C:\\db\\GdIndex\\mine.base.gdk",
                                             "C:\\db\\GdIndex\\mine.base.ghi"}));
  EXPECT_GE(calls, 6);
}

TEST(TemplateArchive, ExtractsRealFilesAndMakesTheIndexFolder) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::current_path() / "template_archive_test";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string archive = (dir / "NewBase.dat").string();
  const std::string bytes = WriteTemplateMember("new.gdg", std::string(10000, 'g')) +
                            WriteTemplateMember("new.gdk", "keys");
  std::FILE* f = std::fopen(archive.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  const std::string sep(1, fs::path::preferred_separator);
  const std::string index = (dir / "GdIndex").string() + sep;
  ASSERT_EQ(ExtractTemplateMembers(StdioTemplateFiles(), archive, (dir / "fresh.gdg").string(), "new", index,
                                   nullptr, nullptr),
            kTemplateDone);
  EXPECT_EQ(fs::file_size(dir / "fresh.gdg"), 10000u);
  EXPECT_EQ(fs::file_size(dir / "GdIndex" / "fresh.gdk"), 4u);
  fs::remove_all(dir);
}

}  // namespace
