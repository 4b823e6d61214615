# Writes the chat filter's built-in words as a C++ byte table, every byte
# (the NUL after each word too) combined with a one-byte key.
#   cmake -DWORDS=<list.txt> -DOUT=<table.inc> -P scramble_words.cmake
set(key 0xA7)
file(STRINGS "${WORDS}" lines)
set(bytes "")
set(count 0)
foreach(line IN LISTS lines)
  string(STRIP "${line}" word)
  if(word STREQUAL "" OR word MATCHES "^#")
    continue()
  endif()
  string(TOLOWER "${word}" word)
  string(LENGTH "${word}" n)
  math(EXPR last "${n} - 1")
  foreach(i RANGE 0 ${last})
    string(SUBSTRING "${word}" ${i} 1 ch)
    string(HEX "${ch}" hex)
    math(EXPR b "0x${hex} ^ ${key}" OUTPUT_FORMAT HEXADECIMAL)
    string(APPEND bytes "${b}, ")
  endforeach()
  math(EXPR b "0 ^ ${key}" OUTPUT_FORMAT HEXADECIMAL)
  string(APPEND bytes "${b},\n")
  math(EXPR count "${count} + 1")
endforeach()
file(WRITE "${OUT}.tmp"
  "// Made by scramble_words.cmake from chat_words.txt: do not edit.\n"
  "constexpr unsigned char kChatWordKey = ${key};\n"
  "constexpr int kChatWordCount = ${count};\n"
  "constexpr unsigned char kChatWordBytes[] = {\n${bytes}};\n")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
