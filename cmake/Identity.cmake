# The names by which a running Calvorin is found, read from the program's
# own headers, where they are written once: CALVORIN_FORM_CLASS,
# CALVORIN_MAIN_CAPTION and CALVORIN_ABOUT_CAPTION, for the setup program's
# script and the tests' shell scripts.
function(calvorin_read_constant header name out)
  file(STRINGS "${CMAKE_SOURCE_DIR}/${header}" line REGEX "${name}\\[\\] = \"")
  if(NOT line MATCHES "= \"([^\"\\\\]*)\"")
    message(FATAL_ERROR "${header} defines no plain text ${name}")
  endif()
  set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

calvorin_read_constant(resources/identity.h kFormClass CALVORIN_FORM_CLASS)
calvorin_read_constant(resources/texts.h kAppTitle CALVORIN_MAIN_CAPTION)
calvorin_read_constant(resources/texts.h kAboutCaptionPrefix calvorin_about_prefix)
set(CALVORIN_ABOUT_CAPTION "${calvorin_about_prefix}${CALVORIN_MAIN_CAPTION}")
