// Small game databases made with the database module's own calls, for the
// database window's tests.
#pragma once

#include <cstdint>
#include <string>

// A database made from PGN text; the file lives in the test's working folder
// and is closed and removed with the object.
class TestDatabase {
 public:
  // `keysPgn`, when not empty, is a file of opening lines filed as keys
  // before the games are imported.
  explicit TestDatabase(const std::string& name, const std::string& pgn, const std::string& keysPgn = "");
  ~TestDatabase();
  TestDatabase(const TestDatabase&) = delete;
  TestDatabase& operator=(const TestDatabase&) = delete;

  int32_t file() const { return file_; }
  int32_t keys() const { return keys_; }
  int count() const;
  // Closes the file (and its key database), which stays on disk.
  void Close();
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  int32_t file_ = 0;
  int32_t keys_ = 0;
};

// Six short games with distinct players, events and results.
extern const char kSixGames[];

void WriteTextFile(const std::string& path, const std::string& text);
