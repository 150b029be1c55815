# Settings shared by every program of the Windows build.

# Windows XP SP3 and later: the headers then hide every later function.
add_compile_definitions(_WIN32_WINNT=0x0501 WINVER=0x0501 NTDDI_VERSION=0x05010300 UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
add_compile_options(-Wall -Wextra -msse2 -mfpmath=sse)
# No MinGW runtime DLL may be needed at run time.
add_link_options(-static)

enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")

# Tests run under Wine, in a prefix of the build tree's own.
set(WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/cmake/wine-run ${WINE_PREFIX})

# Every Windows program is listed here so that one test can read its imports.
function(pelmor_windows_program target)
  set_property(GLOBAL APPEND PROPERTY PELMOR_WINDOWS_PROGRAMS ${target})
endfunction()
