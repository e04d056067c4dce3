# 64-bit Windows. Nothing built with it ships: it runs the program and its
# tests under a 64-bit Wine, on machines whose kernel runs no 32-bit code.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake")
