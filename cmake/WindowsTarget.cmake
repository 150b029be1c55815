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

# ---- Release: reproducible and small ----------------------------------------
# No build directory in any binary (__FILE__ of assert, debug info), no link
# time in the PE header: the same sources give the same bytes anywhere.
add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=
                    -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)
add_link_options(-Wl,--no-insert-timestamp)
# Small code, with unused functions and data left out. The decoder asks for
# speed instead (payload/CMakeLists.txt).
add_compile_options(-Os -ffunction-sections -fdata-sections)
add_link_options(-Wl,--gc-sections)

# pelmor_shipped_program(target [LEAN_RUNTIME]): a program that users get, stripped.
# LEAN_RUNTIME, for programs that use C++ exceptions: link the smaller failure
# paths of platform/LeanRuntime.cpp and the XP import of platform/TickCount64.cpp.
function(pelmor_shipped_program target)
  cmake_parse_arguments(PARSE_ARGV 1 shipped "LEAN_RUNTIME" "" "")
  set_property(GLOBAL APPEND PROPERTY PELMOR_SHIPPED_PROGRAMS ${target})
  target_link_options(${target} PRIVATE -s)
  if(shipped_LEAN_RUNTIME)
    target_link_libraries(${target} PRIVATE shipped_runtime)
  endif()
endfunction()

# ---- Windows versions ---------------------------------------------------------
# The Windows versions that version tests run under, by Wine's names (winxp, win7,
# win10 ...); each has a Wine prefix of its own that reports it (cmake/wine-run).
set(PELMOR_WINDOWS_VERSIONS "win10;winxp" CACHE STRING "Windows versions the version tests run under")

# pelmor_test_on_windows_versions(name COMMAND program [args...] [PROPERTIES prop value ...])
# adds the test name_<version> for each of PELMOR_WINDOWS_VERSIONS, labelled
# windows_<version>. A Windows program as COMMAND runs under cmake/wine-run; a
# script as COMMAND reaches the version's prefix by calling cmake/wine-run, which
# reads PELMOR_WINE_VERSION from the environment.
function(pelmor_test_on_windows_versions name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "COMMAND;PROPERTIES")
  foreach(version IN LISTS PELMOR_WINDOWS_VERSIONS)
    set(test ${name}_${version})
    add_test(NAME ${test} COMMAND ${arg_COMMAND})
    # The first test of a version creates its prefix, which takes a while.
    set_tests_properties(${test} PROPERTIES TIMEOUT 300 LABELS windows_${version} ${arg_PROPERTIES})
    set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT PELMOR_WINE_VERSION=${version})
  endforeach()
endfunction()
