# Fails when a portable file includes a Windows header.
# Portable files are the C++ files of the subsystem folders whose names do not contain "_win",
# outside the fixture folders of the Windows tests.
# Run: cmake -DSOURCE_DIR=<repo> -P cmake/CheckPortable.cmake
set(windows_headers
    windows windef winbase winuser wingdi winnt winreg winerror winver winnls windowsx winsock2
    shlobj shlobj_core shellapi shlwapi shobjidl shtypes shldisp knownfolders commctrl commdlg
    objbase ole2 oleauto olectl objidl unknwn combaseapi propidl propkey uxtheme vssym32 dwmapi
    psapi tlhelp32 processthreadsapi synchapi fileapi handleapi libloaderapi sysinfoapi
    winternl ntdef mmsystem richedit intsafe strsafe tchar)
list(JOIN windows_headers "|" alternatives)
set(pattern "#[ \t]*include[ \t]*[<\"](${alternatives}|wrl/[a-z_]+|wrl)(\\.h)?[>\"]")

set(offenders "")
foreach(dir app catalogue shortcuts system ui store contextmenu)
    file(GLOB_RECURSE files "${SOURCE_DIR}/${dir}/*.h" "${SOURCE_DIR}/${dir}/*.hpp"
                            "${SOURCE_DIR}/${dir}/*.cpp")
    foreach(file IN LISTS files)
        get_filename_component(name "${file}" NAME)
        # Windows files, and the fixture programs of the Windows tests, may include Windows headers.
        if(name MATCHES "_win[._]" OR file MATCHES "/fixtures/")
            continue()
        endif()
        file(STRINGS "${file}" lines REGEX "include")
        foreach(line IN LISTS lines)
            string(TOLOWER "${line}" lower)
            if(lower MATCHES "${pattern}")
                list(APPEND offenders "${file}: ${line}")
            endif()
        endforeach()
    endforeach()
endforeach()

if(offenders)
    list(JOIN offenders "\n  " report)
    message(FATAL_ERROR "Portable files include Windows headers:\n  ${report}")
endif()
message(STATUS "portable files: no Windows header included")
