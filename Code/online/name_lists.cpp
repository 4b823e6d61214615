#include "name_lists.h"

#include <new>

namespace {

IniNameList* MakeList(const std::string& path, const char* section, const char* prefix) {
  return new (std::nothrow) IniNameList(path, section, prefix, true);
}

}  // namespace

IniNameList* CreateBuddyList(const std::string& settingsPath) {
  return MakeList(settingsPath, "rwlive_buddies", "buddy");
}

IniNameList* CreateIgnoreList(const std::string& settingsPath) {
  return MakeList(settingsPath, "rwlive_ignored", "ignore");
}

int IsInNameList(IniNameList* list, const std::string& nickname) {
  return list && list->Find(nickname) ? 1 : 0;
}

int AddToNameList(IniNameList* list, const std::string& nickname) {
  if (!list) return 0;
  list->Add(nickname, true);
  return 1;
}

int RemoveFromNameList(IniNameList* list, const std::string& nickname) {
  if (!list) return 0;
  list->Remove(nickname, true);
  return 1;
}

void ForEachInNameList(IniNameList* list, int (*fn)(const char* name, void* context), void* context) {
  if (!list || !fn) return;
  list->ForEach([&](const std::string& name) { return fn(name.c_str(), context) != 0; });
}

void DeleteNameList(IniNameList* list) { delete list; }
