# Read by cpack once the package's files are installed in its staging folder. Each program
# goes out stripped, without the .comment section that names the compiler of every object (no
# player needs it, and Debian's own packages leave it out). Its debug information stays in the
# build folder, under debug/usr/lib/debug/.build-id/ where gdb looks for it by the program's
# build ID; the program names the file in its .gnu_debuglink too.
find_program(OBJCOPY objcopy REQUIRED)
find_program(READELF readelf REQUIRED)
file(GLOB_RECURSE files LIST_DIRECTORIES false ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*)
foreach(file IN LISTS files)
    file(READ ${file} magic LIMIT 4 HEX)
    if(NOT magic STREQUAL "7f454c46")
        continue()
    endif()
    execute_process(COMMAND ${READELF} -n ${file} OUTPUT_VARIABLE notes
                    COMMAND_ERROR_IS_FATAL ANY)
    if(NOT notes MATCHES "Build ID: ([0-9a-f][0-9a-f])([0-9a-f]+)")
        message(FATAL_ERROR "${file} has no build ID to find its debug information by")
    endif()
    set(debug_file
        ${CPACK_VARNOTH_DEBUG_DIR}/usr/lib/debug/.build-id/${CMAKE_MATCH_1}/${CMAKE_MATCH_2}.debug)
    get_filename_component(debug_folder ${debug_file} DIRECTORY)
    file(MAKE_DIRECTORY ${debug_folder})
    # One after the other: several COMMANDs in one execute_process would run as a pipe.
    foreach(step "--only-keep-debug;${file};${debug_file}"
                 "--strip-all;--remove-section=.comment;${file}"
                 "--add-gnu-debuglink=${debug_file};${file}")
        execute_process(COMMAND ${OBJCOPY} ${step} COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
endforeach()
