# Compiler and linker flags shared by every target.

include(GNUInstallDirs)

add_compile_options(-Wall -Wextra -Wno-unused-parameter
  # Floating point follows the library's own steps exactly: no fused multiply-add.
  -ffp-contract=off)

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  # SSE arithmetic instead of x87, which would keep excess precision between steps.
  add_compile_options(-msse2 -mfpmath=sse)
endif()

if(MINGW)
  # The DLL and the executables carry their own runtime: they import only system DLLs.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

if(ZEDLL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
    -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(ZEDLL_TSAN)
  if(ZEDLL_SANITIZE OR ZEDLL_FUZZ OR WIN32)
    message(FATAL_ERROR "ZEDLL_TSAN is a Linux build of its own, without the other sanitizers")
  endif()
  # Optimised a little: the thread tests move a million records through the instrumented locks.
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer -O1 -g)
  add_link_options(-fsanitize=thread)
endif()

if(ZEDLL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang" OR WIN32)
    message(FATAL_ERROR "ZEDLL_FUZZ needs clang++ on Linux (-DCMAKE_CXX_COMPILER=clang++)")
  endif()
  # Every object carries the fuzzer's coverage hooks and the sanitizers; only the fuzz targets
  # link the fuzzer's own main.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
    -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined)
endif()

set(ZEDLL_SYSTEM_LIBS)
if(WIN32)
  list(APPEND ZEDLL_SYSTEM_LIBS kernel32 user32 advapi32)
endif()
