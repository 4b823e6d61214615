# Packed data sets of the program folder, filled by any module.
#
# rw_pack_add(<pack> <list file> [DEPENDS <files or targets...>]) adds the
# items of a list file (one "PATH=NAME" a line, as mkpack reads it) to the
# named pack; DEPENDS names what makes the list and its files. At the end of
# the configure step every pack that received items is written with mkpack
# as <build>/packs/<pack>.idx and .dat (target `progdata_packs`) and, in the
# Windows trees, installed into the program folder. A pack nobody added to
# is not written, except the required "rwsets" and "faces": start-up stops
# without them, so they are written empty until their modules fill them
# (an optional pack present but empty would switch features on without
# data).
#
# Included by cmake/Rookwell.cmake, before any module, so that every module
# can call rw_pack_add.

function(rw_pack_add pack list)
  cmake_parse_arguments(P "" "" "DEPENDS" ${ARGN})
  set_property(GLOBAL APPEND PROPERTY RW_PACKS ${pack})
  set_property(GLOBAL APPEND PROPERTY RW_PACK_${pack}_LISTS ${list})
  set_property(GLOBAL APPEND PROPERTY RW_PACK_${pack}_DEPENDS ${P_DEPENDS})
endfunction()

# Runs deferred at the end of the top folder: a deferred call sees the top
# folder's variables, so it works only from global properties and from what
# the top folder knows (RW_WINDOWS, RW_HOST_TOOLS).
function(rw_write_packs)
  if(RW_WINDOWS)
    set(mkpack ${RW_HOST_TOOLS}/bin/mkpack)
    set(mkpack_depends ${mkpack})
  else()
    set(mkpack $<TARGET_FILE:mkpack>)
    set(mkpack_depends mkpack)
  endif()
  set(packs_dir ${CMAKE_BINARY_DIR}/packs)
  get_property(packs GLOBAL PROPERTY RW_PACKS)
  list(APPEND packs rwsets faces)
  list(REMOVE_DUPLICATES packs)
  set(outputs "")
  foreach(pack IN LISTS packs)
    get_property(lists GLOBAL PROPERTY RW_PACK_${pack}_LISTS)
    get_property(deps GLOBAL PROPERTY RW_PACK_${pack}_DEPENDS)
    set(args "")
    foreach(l IN LISTS lists)
      list(APPEND args -l ${l})
    endforeach()
    add_custom_command(OUTPUT ${packs_dir}/${pack}.idx ${packs_dir}/${pack}.dat
      COMMAND ${CMAKE_COMMAND} -E make_directory ${packs_dir}
      COMMAND ${mkpack} ${args} ${packs_dir}/${pack}
      DEPENDS ${lists} ${deps} ${mkpack_depends}
      COMMENT "Packing ${pack}" VERBATIM)
    list(APPEND outputs ${packs_dir}/${pack}.idx ${packs_dir}/${pack}.dat)
    if(RW_WINDOWS)
      install(FILES ${packs_dir}/${pack}.idx ${packs_dir}/${pack}.dat DESTINATION .)
    endif()
  endforeach()
  add_custom_target(progdata_packs ALL DEPENDS ${outputs})
  if(TARGET progdata_pictures)
    add_dependencies(progdata_packs progdata_pictures)
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL rw_write_packs)
