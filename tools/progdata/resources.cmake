# The program's own resources and settings files (included by this folder's
# CMakeLists.txt, whose variables `progdata`, `out` and `progdata_scripts` it
# uses):
#  - the string table and its id header rw_strings.h, from Code/shell/res/*.str;
#  - the icon, the cursors and the animated cursors;
#  - rw.ini, RWDEFAULT.INI and the default layouts of the program folder;
#  - `rookwell_res`, one resource object (Windows trees) made of every
#    Code/shell/res/*.rc piece, the string table, icon, cursors, "PAL" and
#    "SPLASH", which Rookwell.exe links; `rookwell_res_ids`, the id header
#    alone, for code of any tree.

set(rw_res_src ${CMAKE_SOURCE_DIR}/Code/shell/res)
# A new piece joins at the next build: the globs are checked again then.
file(GLOB rw_string_sources CONFIGURE_DEPENDS ${rw_res_src}/*.str)
file(GLOB rw_rc_pieces CONFIGURE_DEPENDS ${rw_res_src}/*.rc)
list(SORT rw_string_sources)
list(SORT rw_rc_pieces)

add_custom_command(OUTPUT ${out}/strings/rw_strings.rc ${out}/strings/rw_strings.h
  COMMAND ${progdata} strings ${rw_res_src} ${out}/strings
  DEPENDS ${rw_string_sources} ${progdata_scripts}
  COMMENT "Compiling the program's strings" VERBATIM)

# The cursor files, as cursors.py names them.
execute_process(COMMAND ${progdata} cursorlist OUTPUT_VARIABLE rw_cursor_list
  OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
string(REPLACE "|" ";" rw_cursor_list "${rw_cursor_list}")
list(GET rw_cursor_list 0 RW_CURSOR_IDS)
list(GET rw_cursor_list 1 RW_ANIMATED_CURSORS)
string(REPLACE "," ";" RW_CURSOR_IDS "${RW_CURSOR_IDS}")
string(REPLACE "," ";" RW_ANIMATED_CURSORS "${RW_ANIMATED_CURSORS}")
set(rw_cursor_files ${out}/cursors/cursors.rc ${out}/cursors/rookwell.ico)
foreach(id IN LISTS RW_CURSOR_IDS)
  list(APPEND rw_cursor_files ${out}/cursors/cur/${id}.cur)
endforeach()
set(rw_ani_files "")
foreach(name IN LISTS RW_ANIMATED_CURSORS)
  list(APPEND rw_ani_files ${out}/cursors/ani/${name})
endforeach()
add_custom_command(OUTPUT ${rw_cursor_files} ${rw_ani_files} ${out}/cursors/cursors.manifest
  COMMAND ${progdata} cursors ${out}/cursors
  DEPENDS ${progdata_scripts}
  COMMENT "Drawing the icon and the cursors" VERBATIM)

set(rw_layouts "${out}/Layouts/Default(800x600).LAY" "${out}/Layouts/Default(1024x768).LAY"
               "${out}/Layouts/Default(1280x1024).LAY")
add_custom_command(OUTPUT ${out}/rw.ini ${out}/RWDEFAULT.INI ${rw_layouts}
  COMMAND ${progdata} settings ${out}
  DEPENDS ${progdata_scripts}
  COMMENT "Writing the settings files and default layouts" VERBATIM)

add_custom_target(progdata_resources ALL DEPENDS
  ${out}/strings/rw_strings.rc ${out}/strings/rw_strings.h ${rw_cursor_files} ${rw_ani_files}
  ${out}/rw.ini ${out}/RWDEFAULT.INI ${rw_layouts})

add_library(rookwell_res_ids INTERFACE)
target_include_directories(rookwell_res_ids INTERFACE ${out}/strings)
add_dependencies(rookwell_res_ids progdata_resources)

# Native and Windows checks of the sources and made files.
target_sources(progdata_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/tests/resources_test.cpp
                                      ${CMAKE_CURRENT_LIST_DIR}/tests/resource_files.cpp)
if(RW_WINDOWS)
  target_compile_definitions(progdata_tests PRIVATE RW_SHELL_RES_DIR="Z:${rw_res_src}")
else()
  target_compile_definitions(progdata_tests PRIVATE RW_SHELL_RES_DIR="${rw_res_src}")
endif()
add_dependencies(progdata_tests progdata_resources)

if(RW_WINDOWS)
  enable_language(RC)
  set(RW_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.0")
  configure_file(${CMAKE_CURRENT_LIST_DIR}/rw_version.h.in ${out}/version/rw_version.h @ONLY)

  # One script that includes every piece, so the pieces share one resource
  # object and clashes between them are the resource compiler's errors.
  set(master "// Made by tools/progdata/resources.cmake: the program's resource script.\n")
  string(APPEND master "#include \"rw_strings.rc\"\n#include \"cursors.rc\"\n")
  # The login screens place their buttons as the button pictures were drawn.
  add_custom_command(OUTPUT ${out}/anim/login_screens.rc
    COMMAND ${progdata} loginscreens ${out}/anim/login_buttons.txt ${out}/anim/login_screens.rc
    DEPENDS ${out}/anim/login_buttons.txt ${progdata_scripts}
    COMMENT "Writing the login screens' dialogs" VERBATIM)
  string(APPEND master "#include \"anim/login_screens.rc\"\n")
  foreach(piece IN LISTS rw_rc_pieces)
    string(APPEND master "#include \"${piece}\"\n")
  endforeach()
  file(CONFIGURE OUTPUT ${out}/rookwell_res.rc CONTENT "${master}")

  add_library(rookwell_res OBJECT ${out}/rookwell_res.rc)
  # The resource compiler leaves no dependency list: name every input.
  set_source_files_properties(${out}/rookwell_res.rc PROPERTIES OBJECT_DEPENDS
    "${rw_rc_pieces};${out}/anim/login_screens.rc;${out}/strings/rw_strings.rc;${out}/strings/rw_strings.h;${rw_cursor_files};${out}/PAL.bmp;${out}/SPLASH.bmp;${out}/version/rw_version.h")
  target_include_directories(rookwell_res PRIVATE ${rw_res_src} ${out} ${out}/cursors ${out}/version)
  target_link_libraries(rookwell_res PUBLIC rookwell_res_ids)
  add_dependencies(rookwell_res progdata_pictures progdata_resources)

  install(FILES ${out}/rw.ini ${out}/RWDEFAULT.INI ${rw_ani_files} DESTINATION .)
  install(FILES ${rw_layouts} DESTINATION Layouts)
endif()

# The resource object as Rookwell.exe will meet it, linked into a test
# program of its own (Windows trees, under Wine).
if(RW_WINDOWS AND COMMAND rw_gui_test)
  add_executable(rookwell_res_win_tests ${CMAKE_CURRENT_LIST_DIR}/tests/resources_win_test.cpp
                                        ${CMAKE_CURRENT_LIST_DIR}/tests/resource_files.cpp)
  target_include_directories(rookwell_res_win_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/tests)
  target_compile_definitions(rookwell_res_win_tests PRIVATE RW_PROGDATA_OUT="Z:${out}"
    RW_SHELL_RES_DIR="Z:${rw_res_src}" RW_VERSION_TEXT="${RW_VERSION_TEXT}")
  target_link_libraries(rookwell_res_win_tests PRIVATE rookwell_res guitest version ${RW_GTEST_LIBS})
  add_dependencies(rookwell_res_win_tests facet)
  rw_gui_test(rookwell_res_win_tests)
endif()
