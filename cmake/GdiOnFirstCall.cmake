# gdi32_on_first_call(TARGET): TARGET, and whatever links it, binds gdi32 on
# the first GDI call instead of when the program loads. The functions are
# those that GDI32_DEFINITION lists.
#
# Why: Wine loads a program's DLLs in the order of its import table, which
# the linker sorts by name, so gdi32 comes before ole32. gdi32 brings user32,
# and user32 version.dll, whose base address lies inside ole32's; ole32 is
# then loaded elsewhere and relocated, about 0.8 MB of its pages written at
# start-up and kept. Bound on first call, gdi32 (loaded by then, for user32)
# leaves ole32 its place. Windows' own DLLs do not overlap, so there this
# changes nothing.
set(GDI32_DEFINITION "${CMAKE_SOURCE_DIR}/platform/win32/gdi32.def")

function(gdi32_on_first_call target)
  if(MSVC)
    target_link_libraries(${target} PUBLIC gdi32 delayimp)
    target_link_options(${target} INTERFACE /DELAYLOAD:gdi32.dll)
    return()
  endif()
  set(library "${CMAKE_BINARY_DIR}/libgdi32-on-first-call.a")
  add_custom_command(OUTPUT "${library}"
    COMMAND "${CMAKE_DLLTOOL}" --kill-at --input-def "${GDI32_DEFINITION}"
            --output-delaylib "${library}"
    DEPENDS "${GDI32_DEFINITION}" VERBATIM)
  add_custom_target(gdi32-on-first-call DEPENDS "${library}")
  add_dependencies(${target} gdi32-on-first-call)
  target_link_libraries(${target} PUBLIC "${library}")
endfunction()
