// Compiles the readable source of a message table into its ".CEL" index and
// ".STR" text images.
//
// Interface: CompileMessageTable.
//
// Source, one record per line:
//   <number> <selector 1> <selector 2> "text"
//   <number> <selector 1> <selector 2>          a record without text
// Lines that repeat a number and both selectors add variant wordings, in
// order. Blank lines and lines starting with '#' are ignored. Texts take the
// escapes \" \\ \n \r \t and \xHH. Numbers 0..65534, selectors 0..255, at
// most 255 wordings per record and 65535 records in all.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// False with a message naming the line when the source is wrong.
bool CompileMessageTable(const std::string& source, std::vector<uint8_t>* cel, std::vector<uint8_t>* str,
                         std::string* error);
