#include "utils.h"

#include <atomic>
#include <cstring>
#include <ctime>
#include <mutex>
#include <random>

bool GuidIsNil(const Guid* guid) {
  if (!guid) return true;
  for (uint8_t b : guid->bytes)
    if (b) return false;
  return true;
}

bool GuidEqual(const Guid* a, const Guid* b) {
  if (GuidIsNil(a) || GuidIsNil(b)) return false;
  return std::memcmp(a->bytes, b->bytes, sizeof a->bytes) == 0;
}

char ToUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool PrependString(char* buffer, size_t capacity, const char* text) {
  if (!buffer || !text) return false;
  size_t have = std::strlen(buffer);
  size_t add = std::strlen(text);
  if (have + add + 1 > capacity) return false;
  std::memmove(buffer + add, buffer, have + 1);
  std::memcpy(buffer, text, add);
  return true;
}

const char* FindTextNoCase(const char* text, const char* pattern) {
  if (!text || !pattern || !*text) return nullptr;
  for (const char* start = text; *start; ++start) {
    const char* t = start;
    const char* p = pattern;
    while (*p && *t && ToUpperAscii(*t) == ToUpperAscii(*p)) {
      ++t;
      ++p;
    }
    if (!*p) return start;
  }
  return nullptr;
}

char* CapitalizeFirstLetter(char* text) {
  if (!text) return text;
  int depth = 0;
  for (char* c = text; *c; ++c) {
    if (*c == '{') depth++;
    else if (*c == '}') { if (depth > 0) depth--; }
    else if (depth == 0) {
      *c = ToUpperAscii(*c);
      break;
    }
  }
  return text;
}

bool AppendChar(char* text, size_t capacity, char c) {
  if (!text) return false;
  size_t n = std::strlen(text);
  if (n + 2 > capacity) return false;
  text[n] = c;
  text[n + 1] = '\0';
  return true;
}

void CopyTextRange(char* buffer, const char* first, const char* last, size_t limit) {
  if (!buffer) return;
  size_t n = 0;
  if (first && last && last >= first) {
    n = static_cast<size_t>(last - first) + 1;
    if (n > limit) n = limit;
    std::memcpy(buffer, first, n);
  }
  buffer[n] = '\0';
}

namespace {
std::mutex g_randomLock;
std::minstd_rand g_random;
bool g_randomSeeded = false;
std::atomic<PollWork> g_pollWork{nullptr};
}  // namespace

void SeedRandom() {
  std::lock_guard<std::mutex> hold(g_randomLock);
  g_random.seed(static_cast<unsigned>(std::time(nullptr)));
  g_randomSeeded = true;
}

int RandomBelow(int n) {
  if (n <= 0) return 0;
  std::lock_guard<std::mutex> hold(g_randomLock);
  if (!g_randomSeeded) {
    g_random.seed(static_cast<unsigned>(std::time(nullptr)));
    g_randomSeeded = true;
  }
  return static_cast<int>(g_random() % static_cast<unsigned>(n));
}

RandomSource::RandomSource() { Seed(static_cast<uint32_t>(std::time(nullptr))); }

void SetPollWorkCallback(PollWork callback) { g_pollWork.store(callback); }

int PollWorkCallback() {
  PollWork work = g_pollWork.load();
  return work ? work() : 0;
}
