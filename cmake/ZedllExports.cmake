# The export list: exports/*.txt, one name per line ('#' starts a comment). Names of the form
# _Name@N are plain functions in the standard calling convention; the 32-bit DLL publishes them
# under exactly that name through a module-definition file made here. Other names are C++ members,
# exported by their classes' ZEDLL_API, and are listed so that the export check sees them.

# exports/win32/*.txt lists what only Windows builds export (the UI kit, the magnifier): on other
# platforms those classes are compiled and tested, but stay inside the library.
file(GLOB ZEDLL_EXPORT_LISTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/exports/*.txt)
if(WIN32)
  file(GLOB win32_lists CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/exports/win32/*.txt)
  list(APPEND ZEDLL_EXPORT_LISTS ${win32_lists})
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ZEDLL_EXPORT_LISTS})

# Every listed name, comments and blanks dropped.
set(ZEDLL_EXPORT_NAMES "")
foreach(list ${ZEDLL_EXPORT_LISTS})
  file(STRINGS ${list} lines)
  foreach(line ${lines})
    string(REGEX REPLACE "#.*" "" line "${line}")
    string(STRIP "${line}" line)
    if(line)
      list(APPEND ZEDLL_EXPORT_NAMES "${line}")
    endif()
  endforeach()
endforeach()

function(zedll_add_module_definition target)
  if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
    return()
  endif()
  # Two module definitions: one for the linker (export _Name@N from the symbol Name@N; the linker
  # adds the leading underscore of 32-bit symbols itself), one for the import library, so that
  # users' references to Name@N bind to the export _Name@N.
  set(def "LIBRARY ZEDLL.dll\nEXPORTS\n")
  set(implib_def "LIBRARY ZEDLL.dll\nEXPORTS\n")
  foreach(line ${ZEDLL_EXPORT_NAMES})
    # Members in the standard calling convention (window procedures) end in @N too, but are
    # mangled (_ZN...): their classes export them.
    set(plain FALSE)
    if(NOT line MATCHES "^_Z[NKT0-9]" AND line MATCHES "^_([A-Za-z0-9_]+@[0-9]+)$")
      set(plain TRUE)
    endif()
    if(plain)
      string(APPEND def "  ${line} = ${CMAKE_MATCH_1}\n")
      string(APPEND implib_def "  ${CMAKE_MATCH_1} == ${line}\n")
    else()
      string(APPEND implib_def "  ${line}\n")
    endif()
  endforeach()
  file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/ZEDLL.def CONTENT "${def}")
  file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/ZEDLL-import.def CONTENT "${implib_def}")
  target_sources(${target} PRIVATE ${PROJECT_BINARY_DIR}/ZEDLL.def)
  # A new class member in the list changes only the import library's definition: relink then too.
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${PROJECT_BINARY_DIR}/ZEDLL-import.def)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${ZEDLL_DLLTOOL} -d ${PROJECT_BINARY_DIR}/ZEDLL-import.def -D ZEDLL.dll
            -l $<TARGET_LINKER_FILE:${target}>
    COMMENT "Import library with the decorated names")
endfunction()

# ELF: a version script makes exactly the listed functions and the members of the listed classes
# global. -fvisibility=hidden alone leaves the standard library's template instances visible,
# because its headers give namespace std default visibility. (Unquoted patterns are globs.)
function(zedll_add_version_script target)
  set(plain "")
  set(classes "")
  foreach(line ${ZEDLL_EXPORT_NAMES})
    if(line MATCHES "^_([A-Za-z0-9_]+)@[0-9]+$")
      list(APPEND plain "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^_Z(N[KVr]*|T[IVS]N?)?([0-9]+)")
      string(LENGTH "${CMAKE_MATCH_0}" prefix_length)
      string(SUBSTRING "${line}" ${prefix_length} ${CMAKE_MATCH_2} class)
      list(APPEND classes "${class}")
    else()
      list(APPEND plain "${line}")
    endif()
  endforeach()
  list(REMOVE_DUPLICATES classes)
  set(script "{\n  global:\n")
  foreach(name ${plain})
    string(APPEND script "    ${name};\n")
  endforeach()
  string(APPEND script "    extern \"C++\" {\n")
  foreach(class ${classes})
    string(APPEND script "      ${class}::*;\n      \"typeinfo for ${class}\";\n"
                         "      \"typeinfo name for ${class}\";\n      \"vtable for ${class}\";\n")
  endforeach()
  string(APPEND script "    };\n  local: *;\n};\n")
  file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/zedll.map CONTENT "${script}")
  target_link_options(${target} PRIVATE -Wl,--version-script=${PROJECT_BINARY_DIR}/zedll.map)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${PROJECT_BINARY_DIR}/zedll.map)
endfunction()
