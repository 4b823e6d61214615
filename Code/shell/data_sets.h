// Data-set locator: the program's thirteen large data sets (seven packed
// archives, the bitmap-resource library, five plain files), found in the
// program folder or its table sub-folder, opened once, and single items
// loaded from them, a loose file in the program folder winning over the
// archive's copy.
//
// Interface: kDataSetTable, DataSetHost / SetDataSetHost, OpenDataSet,
// IsDataSetOpen, OpenPackedDataSet, LocateDataSetFile, LoadDataSetLibrary,
// FindDataFile, LocateDataSet, ClosePackedDataSet, CloseDataSetLibrary,
// CloseAllDataSets, GetDataSetLibrary, GetDataSetIndex, LoadLibraryBitmap,
// LoadDataItem, GetDataItemInfo, ReadProgramFile.
//
// Set numbers are what callers pass (0 "rwsets", 1 "faces", 2 "tutorial",
// 3 "tnaudio", 4 "nla", 5 "moves", 6 "about", 7 the resource library,
// 8..12 plain files); the table rows are a different order, used only to
// find a file's sub-folder and to name sets 8..12 opened without a name.
// Strings handed out are owned by the set's row unless said otherwise.
#pragma once

#include <cstdint>

#include "packfile.h"

constexpr int kDataSetCount = 13;

struct DataSetEntry {
  char fileName[32];
  char subFolder[44];  // empty: the file lies in the program folder itself
};
extern const DataSetEntry kDataSetTable[kDataSetCount];

// What the locator needs from the rest of the program. Every member may be
// null; a null member does nothing (or finds nothing).
struct DataSetHost {
  const char* (*programFolder)();             // without a trailing separator
  void (*reportNotFound)(const char* path);   // tells the user a data file is missing
  void* (*loadModule)(const char* path);      // a library of resources, or null
  void (*freeModule)(void* module);
  void (*setResourceLibrary)(void* module);   // the program's resource library (null: none)
  void* (*findBitmap)(void* module, const char* name);  // a writable bitmap resource in place
};
// Installs the host (copied). The Windows build starts with one over the
// system's module calls; the program folder and report come from the shell.
void SetDataSetHost(const DataSetHost& host);
const DataSetHost& GetDataSetHost();
// The platform's host: natively every member null; in Windows builds the
// module members over LoadLibraryA, FreeLibrary and bitmap resources.
DataSetHost DefaultDataSetHost();

int OpenDataSet(const char* name, int set, int required);
int IsDataSetOpen(int set);
int OpenPackedDataSet(const char* name, int set, int required);
int LocateDataSetFile(const char* name, int set, int required);
int LoadDataSetLibrary(const char* name, int set);

// The path of a data file: in the table sub-folder of the first row whose
// file name begins with `name` (ASCII case ignored), else in the program
// folder. With size 0 a new string the caller frees with std::free, else
// copied into buffer. Null when the file cannot be opened for reading, or
// when the path does not fit the buffer.
char* FindDataFile(const char* name, char* buffer, uint32_t size, int report);

const char* LocateDataSet(int set, int report);
void ClosePackedDataSet(int set);
void CloseDataSetLibrary(int set);
void CloseAllDataSets();
void* GetDataSetLibrary(int set);
DatIndex* GetDataSetIndex(int set);

int LoadLibraryBitmap(const char* name, int set, void** bitmap);
// A single item. *data is freed with datUnloadItem (or memFree_rel); the
// type tag is the item's four-character kind ("0000" for a loose file).
int LoadDataItem(const char* name, int set, void** data, uint32_t* typeTag, uint32_t* storedSize,
                 uint32_t* size);
int GetDataItemInfo(const char* name, int set, uint32_t* typeTag, uint32_t* storedSize, uint32_t* size);
// <program folder>/<name> whole, with one NUL byte after its end; freed with
// memFree_rel. 0 (outputs cleared) unless the whole file was read.
int ReadProgramFile(const char* name, void** data, uint32_t* size);
