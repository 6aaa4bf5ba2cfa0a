# Shared by the toolchain files: cross-compiling for Windows with mingw-w64
# for the architecture the including file names in PELMORA_MINGW_TRIPLET. The
# posix thread model is needed by GoogleTest (std::mutex); everything is
# linked statically so the executables import nothing but Windows system DLLs.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${PELMORA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PELMORA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${PELMORA_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PELMORA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Rebuilds (and parallel checkouts of the same tree) reuse earlier compiles.
find_program(PELMORA_CCACHE ccache)
if(PELMORA_CCACHE)
  set(CMAKE_C_COMPILER_LAUNCHER ${PELMORA_CCACHE})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${PELMORA_CCACHE})
endif()
