# Shared part of the MinGW-w64 toolchain files (POSIX threads, so that
# std::thread and std::mutex exist). The including file sets RW_MINGW_TRIPLE
# and CMAKE_SYSTEM_PROCESSOR first.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${RW_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${RW_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${RW_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${RW_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The program folder must run without MinGW runtime DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Windows executables run under Wine; scripts/wine-run.sh reads each
# program's machine type and picks the matching Wine and prefix.
get_filename_component(_rw_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${_rw_root}/scripts/wine-run.sh")
