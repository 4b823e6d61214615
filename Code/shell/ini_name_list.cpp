// Ini name lists over the profile seam.
#include "ini_name_list.h"

#include <cctype>

#include "profile.h"

namespace {

bool SameNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace

IniNameList::IniNameList(const std::string& file, const std::string& section, const std::string& prefix,
                         bool load)
    : file_(file), section_(section), prefix_(prefix) {
  if (load) Load();
}

std::string IniNameList::Key(int number) const { return prefix_ + std::to_string(number); }

void IniNameList::WriteHigh() {
  const std::string key = prefix_ + "_highnumber";
  if (high_ == 0)
    ProfileDeleteKey(section_.c_str(), key.c_str(), file_.c_str());
  else
    ProfileWriteInt(section_.c_str(), key.c_str(), high_, file_.c_str());
}

void IniNameList::Load() {
  entries_.clear();
  high_ = 0;
  if (file_.empty() || section_.empty() || prefix_.empty()) return;
  high_ = ProfileReadInt(section_.c_str(), (prefix_ + "_highnumber").c_str(), 0, file_.c_str());
  for (int n = 1; n <= high_; ++n) {
    char value[200];
    ProfileReadString(section_.c_str(), Key(n).c_str(), "", value, sizeof value, file_.c_str());
    if (value[0]) entries_.push_back(std::make_unique<IniNameEntry>(this, n, value));
  }
}

IniNameEntry* IniNameList::Find(const std::string& name) {
  for (auto& e : entries_)
    if (SameNoCase(e->name(), name)) return e.get();
  return nullptr;
}

void IniNameList::ForEach(const std::function<bool(const std::string&)>& fn) const {
  for (const auto& e : entries_)
    if (!fn(e->name())) return;
}

void IniNameList::Add(const std::string& name, bool save) {
  if (Find(name)) return;
  // The run 1, 2, 3, ... at the head of the list; the new name ends it.
  size_t run = 0;
  while (run < entries_.size() && entries_[run]->number() == static_cast<int>(run) + 1) ++run;
  const int number = static_cast<int>(run) + 1;
  entries_.insert(entries_.begin() + run, std::make_unique<IniNameEntry>(this, number, name));
  if (save) {
    // An empty name deletes its key rather than writing an empty value.
    ProfileWriteString(section_.c_str(), Key(number).c_str(), name.empty() ? nullptr : name.c_str(),
                       file_.c_str());
  }
  if (number > high_) {
    high_ = number;
    if (save) WriteHigh();
  }
}

void IniNameList::Remove(const std::string& name, bool save) {
  IniNameEntry* entry = Find(name);
  if (!entry) return;
  size_t i = 0;
  while (entries_[i].get() != entry) ++i;
  if (entry->number() == high_) {
    high_ = i > 0 ? entries_[i - 1]->number() : 0;
    if (save) WriteHigh();
  }
  if (save) ProfileDeleteKey(section_.c_str(), Key(entry->number()).c_str(), file_.c_str());
  entries_.erase(entries_.begin() + i);
}
