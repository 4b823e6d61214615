// An ordered list of names kept in one section of an ini file, one key per
// name ("<prefix>1", "<prefix>2", ... up to "<prefix>_highnumber"), so that a
// name can be added or removed without rewriting the others. Numbers may have
// gaps; a new name fills the first one. Reads and writes go through the
// shell's profile seam.
//
// Interface: IniNameList, IniNameEntry.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

class IniNameList;

class IniNameEntry {
 public:
  IniNameEntry(IniNameList* list, int number, std::string name)
      : list_(list), number_(number), name_(std::move(name)) {}
  virtual ~IniNameEntry() = default;
  int number() const { return number_; }
  const std::string& name() const { return name_; }
  IniNameList* list() const { return list_; }

 private:
  IniNameList* list_;
  int number_;
  std::string name_;
};

class IniNameList {
 public:
  IniNameList(const std::string& file, const std::string& section, const std::string& prefix, bool load);
  virtual ~IniNameList() = default;  // nothing is written

  void Load();
  // The entry whose name equals `name` without regard to case, or null.
  IniNameEntry* Find(const std::string& name);
  // Calls `fn` with each name in list order until it returns false.
  void ForEach(const std::function<bool(const std::string&)>& fn) const;
  void Add(const std::string& name, bool save);
  void Remove(const std::string& name, bool save);

  int highNumber() const { return high_; }
  size_t size() const { return entries_.size(); }
  const IniNameEntry& at(size_t i) const { return *entries_[i]; }

 private:
  std::string Key(int number) const;
  void WriteHigh();

  std::string file_, section_, prefix_;
  int high_ = 0;
  // In load and insertion order, which is ascending number order.
  std::vector<std::unique_ptr<IniNameEntry>> entries_;
};
