# Makes a program's manual page from its --help and --version with help2man, with the sections
# written by hand in INCLUDE and, for each of COMMANDS, that command's own --help, compressed as
# Debian keeps manual pages (gzip -9n: no file name or time inside, so a rebuild is the same).
# cmake -DHELP2MAN=... -DPROGRAM=... -DSUMMARY=... -DINCLUDE=... [-DCOMMANDS=a,b] -DPAGE=x.1.gz
#       -P manual_page.cmake
cmake_minimum_required(VERSION 3.25)

set(sections "${PAGE}.h2m")
file(READ "${INCLUDE}" extra)
if(COMMANDS)
    string(REPLACE "," ";" COMMANDS "${COMMANDS}")
    string(APPEND extra "[COMMANDS IN DETAIL]\n")
    foreach(command IN LISTS COMMANDS)
        execute_process(COMMAND "${PROGRAM}" ${command} --help OUTPUT_VARIABLE help
            RESULT_VARIABLE status)
        if(NOT status EQUAL 0)
            message(FATAL_ERROR "${PROGRAM} ${command} --help failed: ${status}")
        endif()
        # Shown as it is printed; roff would read a backslash, or a line opening with a dot or
        # a quote, as its own.
        string(REPLACE "\\" "\\e" help "${help}")
        string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
        string(APPEND extra ".SS ${command}\n.nf\n${help}.fi\n")
    endforeach()
endif()
file(WRITE "${sections}" "${extra}")

execute_process(
    COMMAND "${HELP2MAN}" --no-info --section=1 "--name=${SUMMARY}" "--include=${sections}"
            "--output=${PAGE}.roff" "${PROGRAM}"
    RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "help2man could not make the page of ${PROGRAM}: ${errors}")
endif()
execute_process(COMMAND gzip -9n -c "${PAGE}.roff" OUTPUT_FILE "${PAGE}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip could not compress ${PAGE}.roff")
endif()
