set(CMAKE_C_COMPILER ${BRENNICOR_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BRENNICOR_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${BRENNICOR_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${BRENNICOR_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Static runtime: no mingw DLL has to travel beside a program.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR AND CMAKE_SYSTEM_PROCESSOR STREQUAL "AMD64")
  set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
endif()
# Every deliverable links the same way: each function and datum in a section
# of its own, so the linker drops what nothing reaches; optimised builds are
# stripped of symbols and debug sections.
set(CMAKE_C_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_CXX_FLAGS_INIT "-ffunction-sections -fdata-sections")
string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -Wl,--gc-sections")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
