# Helpers through which each subsystem folder names its files.
#
# Portable files include no Windows header and go into orvane_core, which builds natively and for
# Windows. Windows files (named *_win.*) go into orvane_win, which exists only in the Windows build.

function(_orvane_append property)
    foreach(file IN LISTS ARGN)
        get_filename_component(abs "${file}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
        set_property(GLOBAL APPEND PROPERTY ${property} "${abs}")
    endforeach()
endfunction()

# Sources of the portable core.
function(orvane_portable)
    _orvane_append(ORVANE_CORE_SOURCES ${ARGN})
endfunction()

# GoogleTest sources for the portable core; they run natively and again under Wine.
function(orvane_portable_test)
    _orvane_append(ORVANE_CORE_TESTS ${ARGN})
endfunction()

# Sources of the Windows layer (Windows build only).
function(orvane_windows)
    _orvane_append(ORVANE_WIN_SOURCES ${ARGN})
endfunction()

# GoogleTest sources that need Windows; they run under Wine.
function(orvane_windows_test)
    _orvane_append(ORVANE_WIN_TESTS ${ARGN})
endfunction()

# Compiler settings shared by every target of the project.
function(orvane_target_defaults target)
    target_compile_features(${target} PUBLIC cxx_std_20)
    target_include_directories(${target} PUBLIC "${PROJECT_SOURCE_DIR}")
    if(MSVC)
        # Level 4 warnings, standard conformance, and UTF-8 sources and strings (the UI text is
        # Japanese). No Windows machine builds this branch in CI, so its warnings are not errors
        # unless asked for.
        target_compile_options(${target} PRIVATE /W4 /permissive- /utf-8 /Zc:__cplusplus)
        if(ORVANE_WARNINGS_AS_ERRORS AND ORVANE_MSVC_WARNINGS_AS_ERRORS)
            target_compile_options(${target} PRIVATE /WX)
        endif()
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                                 -Wno-sign-conversion)
        if(ORVANE_WARNINGS_AS_ERRORS)
            target_compile_options(${target} PRIVATE -Werror)
        endif()
    endif()
    if(WIN32)
        target_compile_definitions(${target} PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                                    _WIN32_WINNT=0x0A00 WINVER=0x0A00)
    endif()
    if(ORVANE_SANITIZE)
        target_compile_options(${target} PUBLIC -fsanitize=address,undefined -fno-omit-frame-pointer
                                                -fno-sanitize-recover=all)
        target_link_options(${target} PUBLIC -fsanitize=address,undefined)
    endif()
endfunction()

# A program whose entry point is wWinMain or wmain. MinGW's linker needs -municode to take it;
# Microsoft's linker picks the Unicode start-up code by itself from the entry point the program defines.
function(orvane_unicode_entry target)
    if(NOT MSVC)
        target_link_options(${target} PRIVATE -municode)
    endif()
endfunction()

# A program whose resource script holds its manifest (resource 1). Microsoft's linker would add one of
# its own and the link would stop on the second (CVT1100, LNK1123); MinGW's linker adds none.
function(orvane_own_manifest target)
    if(MSVC)
        target_link_options(${target} PRIVATE /MANIFEST:NO)
    endif()
endfunction()

# Registers a GoogleTest executable with ctest; cross-built ones run through the Wine emulator.
function(orvane_gtest target)
    if(CMAKE_CROSSCOMPILING)
        # Discovery at test time: a cold Wine start is slower than the build-time discovery allows.
        gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                             PROPERTIES TIMEOUT 120 ${ARGN})
    else()
        gtest_discover_tests(${target} PROPERTIES TIMEOUT 60 ${ARGN})
    endif()
endfunction()

# Marks an executable as a fixture of the Windows tests: it is built before them, beside them.
function(orvane_test_fixture target)
    set_property(GLOBAL APPEND PROPERTY ORVANE_TEST_FIXTURES ${target})
endfunction()
