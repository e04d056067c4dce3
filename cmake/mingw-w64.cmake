# Cross-compiles for Windows with mingw-w64 for the processor that the
# including toolchain file names (i686 or x86_64), win32 thread model: the
# program then links no winpthread, whose helpers import GetTickCount64 and
# so keep the program from loading on Windows XP.
set(CMAKE_SYSTEM_NAME Windows)
set(calvorin_mingw "${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32")

set(CMAKE_C_COMPILER ${calvorin_mingw}-gcc-win32)
set(CMAKE_CXX_COMPILER ${calvorin_mingw}-g++-win32)
set(CMAKE_RC_COMPILER ${calvorin_mingw}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${calvorin_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
