# Installation: the public header, the library with its strings library, the CMake package ZEDLL
# and zedll.pc.

include(CMakePackageConfigHelpers)

install(TARGETS zedll zedll_strings EXPORT ZEDLLTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/zedll.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/zedll DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

set(ZEDLL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/ZEDLL)
install(EXPORT ZEDLLTargets NAMESPACE ZEDLL:: DESTINATION ${ZEDLL_CMAKE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/ZEDLLConfig.cmake.in
  ${PROJECT_BINARY_DIR}/ZEDLLConfig.cmake INSTALL_DESTINATION ${ZEDLL_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/ZEDLLConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/ZEDLLConfig.cmake ${PROJECT_BINARY_DIR}/ZEDLLConfigVersion.cmake
  DESTINATION ${ZEDLL_CMAKE_DIR})

if(WIN32)
  set(ZEDLL_PC_LIBNAME ZEDLL)
else()
  set(ZEDLL_PC_LIBNAME zedll)
endif()
configure_file(${PROJECT_SOURCE_DIR}/cmake/zedll.pc.in ${PROJECT_BINARY_DIR}/zedll.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/zedll.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
