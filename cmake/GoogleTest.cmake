# GoogleTest is built from source, the same sources for the host and for the
# mingw build: Debian's googletest package ships them under /usr/src.
set(GTEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH "GoogleTest source tree")
option(CALVORIN_TESTS "Build the tests" ON)

if(CALVORIN_TESTS)
  if(NOT EXISTS "${GTEST_SOURCE_DIR}/CMakeLists.txt")
    message(WARNING "No GoogleTest sources at ${GTEST_SOURCE_DIR}; tests are not built.")
    set(CALVORIN_TESTS OFF)
  else()
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    add_subdirectory("${GTEST_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
  endif()
endif()
