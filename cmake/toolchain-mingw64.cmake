# Cross-build of the same sources for 64-bit Windows: tests and the run
# command on machines whose kernel runs no 32-bit code. Not shipped.
set(RW_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
