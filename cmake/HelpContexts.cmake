# The help file's context numbers, the one place they are written, each with
# its topic's \cfg{winhelp-topic} name in help/Calvorin.but. The program gets
# the numbers in help/help_contexts.h; help/CMakeLists.txt maps the built
# help file with CALVORIN_HELP_CONTEXTS (NUMBER=topic) and checks the map.
set(CALVORIN_MAIN_WINDOW_CONTEXT 10)
set(CALVORIN_ABOUT_WINDOW_CONTEXT 20)
set(CALVORIN_HELP_CONTEXTS
  "${CALVORIN_MAIN_WINDOW_CONTEXT}=main_window"
  "${CALVORIN_ABOUT_WINDOW_CONTEXT}=about_window")

configure_file("${CMAKE_SOURCE_DIR}/help/help_contexts.h.in"
  "${CMAKE_BINARY_DIR}/generated/help/help_contexts.h" @ONLY)
