// The buddy and ignore lists: nickname lists kept in the settings file of
// the logged-in user, one IniNameList each. Every operation takes the list
// first and answers a null list as an empty one that cannot change.
//
// Interface: CreateBuddyList, CreateIgnoreList, IsInNameList, AddToNameList,
// RemoveFromNameList, ForEachInNameList, DeleteNameList.
#pragma once

#include <string>

#include "ini_name_list.h"

// Loaded at once from `settingsPath`; null when memory runs out.
IniNameList* CreateBuddyList(const std::string& settingsPath);
IniNameList* CreateIgnoreList(const std::string& settingsPath);

// 1 when the nickname is listed (case-insensitive), else 0.
int IsInNameList(IniNameList* list, const std::string& nickname);
// Adds unless present (in any case) and saves at once; 1, or 0 for null.
int AddToNameList(IniNameList* list, const std::string& nickname);
// Removes when present and saves at once; 1, or 0 for null.
int RemoveFromNameList(IniNameList* list, const std::string& nickname);
// Calls `fn` with each name in list order until it returns 0.
void ForEachInNameList(IniNameList* list, int (*fn)(const char* name, void* context), void* context);
void DeleteNameList(IniNameList* list);
