# Build helpers shared by every module of Rookwell.

if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(RW_WINDOWS ON)
else()
  set(RW_WINDOWS OFF)
endif()

# Optimised code without full debug tables: -O2 -g made the sanitized native
# tree several times slower to compile for little gain in the test runs.
if(RW_WINDOWS)
  set(CMAKE_C_FLAGS_RELWITHDEBINFO "-O2 -DNDEBUG")
  set(CMAKE_CXX_FLAGS_RELWITHDEBINFO "-O2 -DNDEBUG")
else()
  set(CMAKE_C_FLAGS_RELWITHDEBINFO "-O1 -g1 -DNDEBUG")
  set(CMAKE_CXX_FLAGS_RELWITHDEBINFO "-O1 -g1 -DNDEBUG")
endif()

add_compile_options(
  $<$<COMPILE_LANGUAGE:CXX>:-Wall> $<$<COMPILE_LANGUAGE:CXX>:-Wextra>
  $<$<COMPILE_LANGUAGE:C>:-Wall>)

if(RW_WINDOWS)
  # Windows XP-era API level is enough; the 32-bit build targets any Win32.
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
elseif(RW_FUZZ)
  # Everything instrumented for coverage; rw_fuzz targets add the driver.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(RW_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Real outside data, kept beside the repository and never copied into it. A
# lone clone has none: the tests that need it skip, naming what is missing.
get_filename_component(RW_TESTDATA_DIR "${CMAKE_SOURCE_DIR}/../shared/testdata" ABSOLUTE)
# pgn-extract's ECO classification file, from Debian's pgn-extract: the
# default opening book is made from it, and tests read it.
set(RW_ECO_FILE "/usr/share/pgn-extract/eco.pgn" CACHE FILEPATH "pgn-extract's ECO classification file")
if(NOT EXISTS "${RW_ECO_FILE}")
  message(FATAL_ERROR "${RW_ECO_FILE} is missing (run scripts/setup.sh)")
endif()
if(RW_WINDOWS)
  set(RW_TESTDATA_DIR_FOR_TESTS "Z:${RW_TESTDATA_DIR}")
  set(RW_ECO_FILE_FOR_TESTS "Z:${RW_ECO_FILE}")
else()
  set(RW_TESTDATA_DIR_FOR_TESTS "${RW_TESTDATA_DIR}")
  set(RW_ECO_FILE_FOR_TESTS "${RW_ECO_FILE}")
endif()

# GoogleTest: the installed one natively, built from Debian's sources for Windows.
if(RW_WINDOWS)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(RW_GTEST_LIBS gmock gtest_main)
else()
  find_package(GTest REQUIRED)
  set(RW_GTEST_LIBS GTest::gmock GTest::gtest_main)
endif()

# rw_test(<name> SOURCES <files...> [LIBS <targets...>] [TIMEOUT <seconds>])
# One test executable per module: under Wine each executable is one Wine start.
function(rw_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${RW_GTEST_LIBS})
  # Test code itself is compiled unoptimised: GoogleTest's templates cost far
  # more to optimise than the tests gain; the code under test keeps its flags.
  if(CMAKE_BUILD_TYPE STREQUAL "RelWithDebInfo")
    target_compile_options(${name} PRIVATE -O0)
  endif()
  target_compile_definitions(${name} PRIVATE RW_TESTDATA_DIR="${RW_TESTDATA_DIR_FOR_TESTS}"
                                              RW_ECO_FILE="${RW_ECO_FILE_FOR_TESTS}")
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/Code/rules/testsupport)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1 WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 600)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
endfunction()

# rw_fuzz(<name> SOURCES <files...> [LIBS <targets...>])
# libFuzzer target, native clang builds with RW_FUZZ only.
function(rw_fuzz name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  if(RW_FUZZ AND NOT RW_WINDOWS)
    add_executable(${name} ${F_SOURCES})
    target_link_libraries(${name} PRIVATE ${F_LIBS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  endif()
endfunction()

# rw_deliverable(<target>): a file of the program folder dist/Rookwell.
function(rw_deliverable target)
  if(RW_WINDOWS)
    install(TARGETS ${target} RUNTIME DESTINATION . LIBRARY DESTINATION . ARCHIVE EXCLUDE_FROM_ALL)
  endif()
endfunction()

# Every program and DLL of a build lands in one folder, as in the program
# folder, so that Windows finds the DLLs beside the executables.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# rw_pack_add: modules add items to the packed data sets of the program folder.
include(${CMAKE_SOURCE_DIR}/tools/progdata/packs.cmake)

# rw_program_test(<target> [PARTS <name>=<gtest filter>...] [LOCKS <locks...>] [TIMEOUT <seconds>])
# A Windows test program that starts Rookwell.exe from a fresh install of the
# tree (Code/shell/tests/run_program_test.sh). Each named part runs the tests
# its filter selects as a test of its own, "<target>.<name>"; "<target>"
# runs the rest. The parts of a long program spread over the machine, each
# part paying one install and one Wine start.
# Every part takes two processors and one "program" resource: the test
# command hands CTest a resource file with as many program slots as the
# machine holds (one per three cores), since several programs with their
# engines on one loaded machine make the timing-sensitive tests flaky.
function(rw_program_test target)
  cmake_parse_arguments(P "" "TIMEOUT" "PARTS;LOCKS" ${ARGN})
  if(NOT P_TIMEOUT)
    set(P_TIMEOUT 600)
  endif()
  set(rest "")
  set(names "")
  set(filters "")
  foreach(part IN LISTS P_PARTS)
    string(FIND "${part}" "=" eq)
    string(SUBSTRING "${part}" 0 ${eq} name)
    math(EXPR from "${eq} + 1")
    string(SUBSTRING "${part}" ${from} -1 filter)
    list(APPEND names "${target}.${name}")
    list(APPEND filters "${filter}")
    if(rest)
      string(APPEND rest ":${filter}")
    else()
      set(rest "${filter}")
    endif()
  endforeach()
  list(APPEND names "${target}")
  if(rest)
    list(APPEND filters "*-${rest}")
  else()
    list(APPEND filters "*")
  endif()
  foreach(name filter IN ZIP_LISTS names filters)
    add_test(NAME ${name}
      COMMAND bash ${CMAKE_SOURCE_DIR}/Code/shell/tests/run_program_test.sh ${CMAKE_BINARY_DIR}
              $<TARGET_FILE:${target}> --gtest_brief=1 "--gtest_filter=${filter}"
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    set_tests_properties(${name} PROPERTIES TIMEOUT ${P_TIMEOUT} PROCESSORS 2 COST 1000
                                            RESOURCE_GROUPS "program:1")
    if(P_LOCKS)
      set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${P_LOCKS}")
    endif()
  endforeach()
endfunction()
