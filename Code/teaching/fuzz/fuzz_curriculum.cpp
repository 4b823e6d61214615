// Curriculum reader: any text reads every section key without a crash,
// titles stay within 63 characters, and recording a result on any entry
// stays inside the progress record.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "curriculum.h"

namespace {
class NullUser : public CurriculumUserRecord {
 public:
  CurriculumProgress p;
  NullUser() { std::memset(&p, 0, sizeof p); }
  CurriculumProgress& Progress() override { return p; }
  void Save() override {}
};

void Walk(const std::vector<CurriculumEntry>& roots, const std::vector<CurriculumEntry>& level,
          std::vector<int>* path, NullUser* user, int32_t a, int32_t b) {
  for (size_t i = 0; i < level.size(); ++i) {
    if (level[i].item.title.size() > 63) std::abort();
    path->push_back(static_cast<int>(i));
    RecordCurriculumResult(roots, *path, a, b, true, user);
    CurriculumItemCompleted(level[i].item, user->p);
    Walk(roots, level[i].children, path, user, a, b);
    path->pop_back();
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  static const int kButtons[] = {21690, 21695, 21730, 21735, 21705, 21710, 21715, 21725};
  NullUser user;
  for (int page = 0; page < 5; ++page)
    for (int button : kButtons) {
      std::vector<CurriculumEntry> roots;
      ReadCurriculumSection(text, CurriculumLevelWord(page), CurriculumCategoryWord(button), &roots);
      std::vector<int> path;
      Walk(roots, roots, &path, &user, size % 7 == 0 ? -1 : static_cast<int32_t>(size % 13), -1);
    }
  return 0;
}
