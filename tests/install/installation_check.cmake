# Installs the build into a fresh prefix and checks the installed tree: DotwallFrame runs
# from there, the installed programs' library search path leads to the installed outside
# libraries (they are bound by file name at run time, so ldd cannot show them), the virtual
# port library lies apart, and the desktop entries, icons and README are in place.
# cmake -DBUILD_DIR=... -DPREFIX=... -P installation_check.cmake
cmake_minimum_required(VERSION 3.25)

function(fail what)
    message(FATAL_ERROR "Installation: ${what}")
endfunction()

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
    RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
    fail("cmake --install failed: ${errors}")
endif()

execute_process(COMMAND "${PREFIX}/bin/DotwallFrame" --help
    RESULT_VARIABLE status OUTPUT_VARIABLE help ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR NOT help MATCHES "^Usage: DotwallFrame")
    fail("the installed DotwallFrame --help gave ${status}: ${help}${errors}")
endif()

# The folders a program's RUNPATH (or RPATH) names, each relative to the program's own
# folder ($ORIGIN) so that the installed tree can be moved, with $ORIGIN put in.
function(library_search_path program result)
    execute_process(COMMAND readelf -d "${program}" OUTPUT_VARIABLE dynamic
        RESULT_VARIABLE status)
    if(NOT status EQUAL 0 OR NOT dynamic MATCHES "R(UN)?PATH\\)[^[]*\\[([^]]*)\\]")
        fail("${program} has no RUNPATH")
    endif()
    string(REPLACE ":" ";" entries "${CMAKE_MATCH_2}")
    get_filename_component(origin "${program}" DIRECTORY)
    set(folders "")
    foreach(entry IN LISTS entries)
        if(NOT entry MATCHES "^\\$ORIGIN")
            fail("${program} searches ${entry}, a folder outside the installation")
        endif()
        string(REPLACE "$ORIGIN" "${origin}" folder "${entry}")
        list(APPEND folders "${folder}")
    endforeach()
    set(${result} "${folders}" PARENT_SCOPE)
endfunction()

# Each program must find its library in the installed tree.
function(check_finds program library)
    library_search_path("${PREFIX}/bin/${program}" folders)
    set(found "")
    foreach(folder IN LISTS folders)
        if(EXISTS "${folder}/${library}" AND NOT found)
            set(found "${folder}/${library}")
        endif()
    endforeach()
    if(NOT found)
        fail("${program} does not find ${library} in its search path ${folders}")
    endif()
    file(REAL_PATH "${found}" found)
    file(REAL_PATH "${PREFIX}" prefix)
    if(NOT found MATCHES "^${prefix}/")
        fail("${program} finds ${library} outside the installation: ${found}")
    endif()
endfunction()

file(GLOB programs RELATIVE "${PREFIX}/bin" "${PREFIX}/bin/*")
check_finds(DotwallUsb libAVR309.so)
check_finds(DotwallLpt libWinIo.so)

# The virtual and USB adapter port libraries sit in folders of their own, which no program
# searches; udev finds the adapters' rule.
foreach(folder IN ITEMS dotwall-virtual dotwall-ftdi)
    file(GLOB_RECURSE library "${PREFIX}/*/${folder}/libWinIo.so")
    if(NOT library)
        fail("no port library in a folder ${folder}")
    endif()
endforeach()
if(NOT EXISTS "${PREFIX}/lib/udev/rules.d/60-dotwall-ftdi.rules")
    fail("no udev rule for the USB adapters in lib/udev/rules.d")
endif()

# Every window has its desktop entry and icon.
foreach(program IN LISTS programs)
    if(program STREQUAL "DotwallFrame")
        continue()
    endif()
    string(TOLOWER "${program}" entry)
    string(REPLACE "dotwall" "dotwall-" entry "${entry}")
    set(desktop "${PREFIX}/share/applications/${entry}.desktop")
    if(NOT EXISTS "${desktop}")
        fail("no desktop entry ${desktop}")
    endif()
    file(READ "${desktop}" text)
    if(NOT text MATCHES "\nExec=${program}\n" OR NOT text MATCHES "\nIcon=${entry}\n")
        fail("${desktop} does not start ${program} with icon ${entry}")
    endif()
    if(NOT EXISTS "${PREFIX}/share/icons/hicolor/32x32/apps/${entry}.png")
        fail("no icon ${entry}.png")
    endif()
endforeach()

if(NOT EXISTS "${PREFIX}/share/doc/dotwall/README.md")
    fail("no README in share/doc/dotwall")
endif()
file(REMOVE_RECURSE "${PREFIX}")
