// The way from the key tree's root to a key, by the parent links of the key
// information; and the saved queries among an ini file's section names.
//
// Interface: kMaxKeyPathSteps, KeyParent, KeyPathFromRoot, kMaxQuerySectionName,
// ListQuerySections.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Parent links come from a file: a chain longer than this is taken as broken
// (a loop), and the key is not found.
constexpr int kMaxKeyPathSteps = 512;

// The parent key of a key (the fifth value of its information record).
int32_t KeyParent(int32_t key);
// The keys from the root's child down to `key` (empty for key 0); false when
// the chain does not reach key 0 within 512 steps.
bool KeyPathFromRoot(int32_t key, const std::function<int32_t(int32_t)>& parentOf,
                     std::vector<int32_t>* path);

// Section names of 263 characters or more are removed when queries are listed.
constexpr size_t kMaxQuerySectionName = 263;

// `names` holds every section name of "Query.ini", each zero-terminated,
// the list ended by an empty name (or by `size`). Names after "QUERY_" go
// to `queries`; sections too long to keep go to `remove`.
void ListQuerySections(const char* names, size_t size, std::vector<std::string>* queries,
                       std::vector<std::string>* remove);
