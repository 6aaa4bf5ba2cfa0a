# 64-bit Windows (x86_64): the installer for 64-bit Windows, and the engine
# for 64-bit programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(PELMORA_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
