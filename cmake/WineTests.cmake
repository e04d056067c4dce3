# Windows-side tests run under Wine, each in a fresh copy of the run's
# template prefix (tests/harness/wine-suite).
set(CALVORIN_WINE_SUITE "${CMAKE_SOURCE_DIR}/tests/harness/wine-suite")
# The shipped files the tests run: built in this tree, or in the product's.
if(CALVORIN_PRODUCT_DIR)
  set(CALVORIN_SHIPPED_DIR "${CALVORIN_PRODUCT_DIR}")
else()
  set(CALVORIN_SHIPPED_DIR "${CMAKE_BINARY_DIR}")
endif()

# The same shipped files at the next version, for the upgrade tests.
set(CALVORIN_NEXT_DIR "" CACHE PATH "Folder of what ships, built at a later version")

# calvorin_wine_test(<name> <label> [TIMEOUT <seconds>] [WINDOWS <version>]
#                    COMMAND <command...>)
# WINDOWS: the version the prefix reports: winxp (Windows XP, or XP x64 in
# the 64-bit build) or win2k; the default is Wine's own. The suite runs in a
# prefix of this tree's architecture (CALVORIN_TEST_ARCH). Windows 2000 runs
# no 64-bit programs: in the 64-bit build its suites are reported as not run.
function(calvorin_wine_test name label)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "TIMEOUT;WINDOWS" "COMMAND")
  if(NOT arg_TIMEOUT)
    set(arg_TIMEOUT 300)
  endif()
  if(arg_WINDOWS STREQUAL "win2k" AND CALVORIN_ARCH STREQUAL "x64")
    add_test(NAME ${name} COMMAND "${CMAKE_COMMAND}" -E echo
      "Not run: Windows 2000 runs only 32-bit programs; this is the 64-bit build.")
    set_tests_properties(${name} PROPERTIES LABELS ${label} SKIP_REGULAR_EXPRESSION "^Not run: ")
    return()
  endif()
  add_test(NAME ${name} COMMAND "${CALVORIN_WINE_SUITE}" ${name} ${arg_COMMAND})
  set_tests_properties(${name} PROPERTIES
    LABELS ${label}
    TIMEOUT ${arg_TIMEOUT}
    ENVIRONMENT "CALVORIN_TEST_ARCH=${CALVORIN_ARCH};CALVORIN_BIN_DIR=${CMAKE_BINARY_DIR};CALVORIN_SHIPPED_DIR=${CALVORIN_SHIPPED_DIR};CALVORIN_NEXT_DIR=${CALVORIN_NEXT_DIR};CALVORIN_FIXTURE_EXE=$<TARGET_FILE:messenger-fixture>;CALVORIN_WINDOWS_VERSION=${arg_WINDOWS}")
endfunction()

# Builds the shipped files before <target> when this tree builds them.
function(calvorin_needs_shipped target)
  foreach(shipped Calvorin calvorin-help calvorin-installer calvorin-package)
    if(TARGET ${shipped})
      add_dependencies(${target} ${shipped})
    endif()
  endforeach()
endfunction()
