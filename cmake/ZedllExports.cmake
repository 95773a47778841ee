# The export list: exports/*.txt, one name per line ('#' starts a comment). Names of the form
# _Name@N are plain functions in the standard calling convention; the 32-bit DLL publishes them
# under exactly that name through a module-definition file made here. Other names are C++ members,
# exported by their classes' ZEDLL_API, and are listed so that the export check sees them.

file(GLOB ZEDLL_EXPORT_LISTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/exports/*.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ZEDLL_EXPORT_LISTS})

function(zedll_add_module_definition target)
  if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
    return()
  endif()
  set(def "LIBRARY ZEDLL.dll\nEXPORTS\n")
  foreach(list ${ZEDLL_EXPORT_LISTS})
    file(STRINGS ${list} lines)
    foreach(line ${lines})
      string(REGEX REPLACE "#.*" "" line "${line}")
      string(STRIP "${line}" line)
      if(line MATCHES "^_([A-Za-z0-9_]+@[0-9]+)$")
        # The linker adds the leading underscore of 32-bit symbols to the internal name itself.
        string(APPEND def "  ${line} = ${CMAKE_MATCH_1}\n")
      endif()
    endforeach()
  endforeach()
  file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/ZEDLL.def CONTENT "${def}")
  target_sources(${target} PRIVATE ${PROJECT_BINARY_DIR}/ZEDLL.def)
endfunction()
