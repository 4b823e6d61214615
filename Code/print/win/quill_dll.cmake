# Quill.dll: the OS-free core over the spooler and GDI, its resources (the
# certificate backgrounds drawn by tools/progdata/certificates.py and the
# abort dialogs) and its Windows tests.
if(NOT RW_WINDOWS)
  return()
endif()
enable_language(RC)
find_program(RW_PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
set(quill_art ${CMAKE_BINARY_DIR}/progdata/quill)
set(quill_script ${CMAKE_SOURCE_DIR}/tools/progdata/certificates.py)
add_custom_command(OUTPUT ${quill_art}/cert403.bmp ${quill_art}/cert404.bmp
  COMMAND ${RW_PYTHON} ${quill_script} ${quill_art}
  DEPENDS ${quill_script} ${CMAKE_SOURCE_DIR}/tools/progdata/common.py
          ${CMAKE_SOURCE_DIR}/tools/progdata/quantize.py ${CMAKE_SOURCE_DIR}/tools/progdata/palette.py
  COMMENT "Drawing the certificate backgrounds" VERBATIM)
add_custom_target(quill_art DEPENDS ${quill_art}/cert403.bmp ${quill_art}/cert404.bmp)

set(QUILL_ART_DIR ${quill_art})
configure_file(${CMAKE_CURRENT_LIST_DIR}/Quill.rc.in ${CMAKE_CURRENT_BINARY_DIR}/Quill.rc @ONLY)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/Quill.rc PROPERTIES
  OBJECT_DEPENDS "${quill_art}/cert403.bmp;${quill_art}/cert404.bmp")

# The Windows layer as objects: the DLL and the rendering test share them.
add_library(quill_win STATIC
  win/gdi_context_win32.cpp
  win/gdi_surface_win32.cpp
  win/print_loop_win32.cpp
  win/print_bitmap_win32.cpp
  win/print_palette_win32.cpp
  win/printer_select_win32.cpp
)
target_include_directories(quill_win PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/win)
target_link_libraries(quill_win PUBLIC quill_core winspool comdlg32 gdi32 user32)

add_library(quill SHARED win/quill_exports_win32.cpp win/Quill.def ${CMAKE_CURRENT_BINARY_DIR}/Quill.rc)
set_target_properties(quill PROPERTIES OUTPUT_NAME Quill PREFIX "")
target_link_libraries(quill PRIVATE quill_win)
# Plain export names for the callee-cleaned functions of the 32-bit build.
target_link_options(quill PRIVATE -Wl,--enable-stdcall-fixup -static-libgcc -static-libstdc++)
add_dependencies(quill quill_art)
rw_deliverable(quill)

if(COMMAND rw_gui_test)
  # Quill.dll as the program meets it: loaded and bound by name; message
  # boxes read and dismissed by the test.
  add_executable(quill_dll_tests win/tests/quill_dll_test.cpp win/tests/message_watch.cpp)
  target_include_directories(quill_dll_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} win/tests)
  target_link_libraries(quill_dll_tests PRIVATE guitest ${RW_GTEST_LIBS} winspool gdi32 user32)
  add_dependencies(quill_dll_tests quill)
  rw_gui_test(quill_dll_tests)

  # Pages drawn by the GDI side into a bitmap and shown for a screenshot.
  add_executable(quill_render_tests win/tests/render_test.cpp win/tests/message_watch.cpp
                 win/quill_exports_win32.cpp)
  target_include_directories(quill_render_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} win/tests)
  target_compile_definitions(quill_render_tests PRIVATE QUILL_FONT_DIR="Z:${CMAKE_BINARY_DIR}/progdata"
                                                        QUILL_ART_DIR="Z:${quill_art}")
  target_link_libraries(quill_render_tests PRIVATE quill_win shell_print_markup guitest ${RW_GTEST_LIBS})
  add_dependencies(quill_render_tests quill progdata_fonts)
  rw_gui_test(quill_render_tests)
endif()

if(COMMAND rw_gui_test)
  # Printing to the CUPS queue "PDF" under Wine (skipped without one).
  set(RW_PDF_DIR "/var/spool/cups-pdf/rookwell" CACHE PATH "Folder of the PDF queue's files")
  add_executable(quill_print_tests win/tests/quill_print_test.cpp win/tests/message_watch.cpp)
  target_include_directories(quill_print_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} win/tests)
  target_compile_definitions(quill_print_tests PRIVATE RW_PDF_DIR="${RW_PDF_DIR}"
                                                       QUILL_FONT_DIR="Z:${CMAKE_BINARY_DIR}/progdata")
  target_link_libraries(quill_print_tests PRIVATE guitest ${RW_GTEST_LIBS} winspool gdi32 user32)
  add_dependencies(quill_print_tests quill progdata_fonts)
  add_test(NAME quill_print_tests
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/win/tests/run_print_test.sh ${RW_GUI_TEST_RUNNER}
            $<TARGET_FILE:quill_print_tests> --gtest_brief=1
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  set_tests_properties(quill_print_tests PROPERTIES TIMEOUT 600 RESOURCE_LOCK pdf_queue)
  if(CMAKE_BUILD_TYPE STREQUAL "RelWithDebInfo")
    target_compile_options(quill_print_tests PRIVATE -O0)
  endif()
endif()

if(COMMAND rw_gui_test)
  # The library tests see no printer at all: the printing tests have the queue.
  set_tests_properties(quill_dll_tests PROPERTIES ENVIRONMENT "CUPS_SERVER=/nonexistent/rookwell-no-cups.sock")
endif()
