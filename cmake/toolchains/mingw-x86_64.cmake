# Windows x86_64: the 64-bit build that runs under Wine.
set(ZEDLL_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
