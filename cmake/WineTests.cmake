# Windows-side tests run under Wine, each in a fresh copy of the run's
# template prefix (tests/harness/wine-suite).
set(CALVORIN_WINE_SUITE "${CMAKE_SOURCE_DIR}/tests/harness/wine-suite")

# calvorin_wine_test(<name> <label> [TIMEOUT <seconds>] COMMAND <command...>)
function(calvorin_wine_test name label)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "TIMEOUT" "COMMAND")
  if(NOT arg_TIMEOUT)
    set(arg_TIMEOUT 300)
  endif()
  add_test(NAME ${name} COMMAND "${CALVORIN_WINE_SUITE}" ${name} ${arg_COMMAND})
  set_tests_properties(${name} PROPERTIES
    LABELS ${label}
    TIMEOUT ${arg_TIMEOUT}
    ENVIRONMENT "CALVORIN_BIN_DIR=${CMAKE_BINARY_DIR};CALVORIN_FIXTURE_EXE=$<TARGET_FILE:messenger-fixture>")
endfunction()
