// The chat word filter: built-in words compiled into the program (stored
// scrambled) and the words of "filter.txt", one entry per line. A chat line
// is filtered when any word occurs in it, compared in lower case with every
// white-space character read as a blank; a blank is added at both ends of
// the line, so an entry written with blanks around it matches whole words.
// One filter per program.
//
// Interface: LoadChatFilter, LoadChatFilterText, FreeChatFilter,
// IsChatTextFiltered, ChatFilterWordCounts, LowerCase1252.
#pragma once

#include <cstddef>
#include <string>

// Frees the old state, unscrambles the built-in words, then reads
// "filter.txt" from the current folder. 1 when both parts loaded; 0 when the
// file is missing, empty or unreadable (the built-in words stay in force).
int LoadChatFilter();
// The same with the file's bytes already read (size 0 fails).
int LoadChatFilterText(const char* bytes, size_t size);
void FreeChatFilter();

// 1 when the line holds a filtered word; 0 otherwise, and 0 with no
// built-in words loaded, a null text or a length of 0.
int IsChatTextFiltered(const char* text, size_t length);

// Built-in and file entries loaded.
void ChatFilterWordCounts(int* builtIn, int* fromFile);

// Lower case as the system's code page 1252 has it (letters with accents
// included), byte by byte.
unsigned char LowerCase1252(unsigned char c);
void LowerCase1252(std::string* text);
