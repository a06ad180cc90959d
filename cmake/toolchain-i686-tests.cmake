# 32-bit test programs: the i686 target with the posix thread model, which GoogleTest
# needs. The program and the library they test are the i686 deliverable's own files,
# copied in (CLAROVIA_SHIPPED_BIN).
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-i686.cmake)
set(CMAKE_C_COMPILER   i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-test.sh)
