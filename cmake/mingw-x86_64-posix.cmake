# The same, posix thread model: std::thread and std::mutex, which GoogleTest
# needs. For the Windows-side tests and their tools, which never ship.
include("${CMAKE_CURRENT_LIST_DIR}/mingw-x86_64.cmake")
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
