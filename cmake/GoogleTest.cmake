# GoogleTest is built from source, the same sources for the host and for the
# mingw build: Debian's googletest package ships them under /usr/src.
# CALVORIN_GTEST tells whether the GoogleTest suites are built in this tree.
set(GTEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH "GoogleTest source tree")
option(CALVORIN_TESTS "Build the tests" ON)
set(CALVORIN_GTEST OFF)

if(CALVORIN_TESTS)
  include(CheckCXXSourceCompiles)
  check_cxx_source_compiles("#include <mutex>\nint main() { std::mutex m; }" CALVORIN_HAS_STD_MUTEX)
  if(NOT EXISTS "${GTEST_SOURCE_DIR}/CMakeLists.txt")
    message(WARNING "No GoogleTest sources at ${GTEST_SOURCE_DIR}; tests are not built.")
  elseif(NOT CALVORIN_HAS_STD_MUTEX)
    # mingw-w64's win32 thread model, which the shipped program is built with.
    message(STATUS "GoogleTest needs std::mutex, which this compiler lacks: its suites are "
      "built in a tree of their own (preset win32-tests).")
  else()
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    add_subdirectory("${GTEST_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
    set(CALVORIN_GTEST ON)
  endif()
endif()
