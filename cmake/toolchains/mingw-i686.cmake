# Windows i686: the real 32-bit DLL.
set(ZEDLL_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
