# Warnings, floating-point model and sanitizers for the project's own targets.

# quillory_project_options(target): applied to every target built from our sources.
function(quillory_project_options target)
  # -Wno-psabi: the audio path passes 32-byte vectors between inlined functions only, so the
  # note that AVX would pass them differently concerns no real call.
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wno-sign-conversion -Wno-psabi -Werror)
endfunction()

if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(i.86|x86)$")
  # 32-bit x86: keep arithmetic in SSE2 registers so results match the 64-bit builds
  # instead of the x87 unit's extended precision.
  add_compile_options(-msse2 -mfpmath=sse)
endif()

if(QUILLORY_SANITIZER)
  add_compile_options(-fsanitize=${QUILLORY_SANITIZER} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${QUILLORY_SANITIZER})
endif()

# Keeps a copy of the plug-in module next to `target`'s program, where it finds the plug-in
# by default. A custom target, not a step after linking the program: that step would run
# only when the program itself relinks, and a rebuilt plug-in would leave a stale copy
# behind for the program to load.
function(quillory_copy_plugin_beside target)
  add_custom_target(${target}_plugin_copy
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:QuilloryChorus>
            $<TARGET_FILE_DIR:${target}>/
    DEPENDS QuilloryChorus
    VERBATIM)
  add_dependencies(${target} ${target}_plugin_copy)
endfunction()
