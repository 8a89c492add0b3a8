# The release record. The project's version in the top CMakeLists.txt is the one version; the
# release notes are packaging/changelog, newest first, in Debian's format. Configuring reads the
# notes once for everything that shows a release, and refuses notes whose newest entry is not
# this version, so the program, the package, the AppStream history, the manual page and the
# changelog cannot disagree. It sets:
#   VARNOTH_RELEASE_DATE      the newest entry's date, YYYY-MM-DD
#   VARNOTH_APPSTREAM_RELEASES the <release> elements of every entry, newest first
#   VARNOTH_SOURCE_DATE_EPOCH the time every file the build writes is stamped with
#   VARNOTH_GIT_TREE          whether the sources are a git checkout of their own
set(changelog ${PROJECT_SOURCE_DIR}/packaging/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changelog})

# Each entry: a "varnoth (VERSION) ..." line, "  * " notes with "    " continuation lines, and a
# " -- MAINTAINER  DATE" line. The notes go to AppStream as XML text.
file(STRINGS ${changelog} lines)
set(VARNOTH_APPSTREAM_RELEASES "")
set(newest_version "")
set(release_seconds "")
foreach(line IN LISTS lines)
    string(REPLACE "&" "&amp;" line "${line}")
    string(REPLACE "<" "&lt;" line "${line}")
    string(REPLACE ">" "&gt;" line "${line}")
    if(line MATCHES "^varnoth \\(([^)]+)\\) ")
        set(version ${CMAKE_MATCH_1})
        set(notes "")
    elseif(line MATCHES "^  \\* (.*)")
        string(APPEND notes "</li>\n          <li>${CMAKE_MATCH_1}")
    elseif(line MATCHES "^    +(.*)")
        string(APPEND notes " ${CMAKE_MATCH_1}")
    elseif(line MATCHES "^ -- .*  ([A-Z][a-z][a-z], .*)$")
        execute_process(COMMAND date -u -d "${CMAKE_MATCH_1}" "+%s;%F"
                        OUTPUT_VARIABLE when OUTPUT_STRIP_TRAILING_WHITESPACE
                        COMMAND_ERROR_IS_FATAL ANY)
        list(GET when 0 seconds)
        list(GET when 1 day)
        if(NOT newest_version)
            set(newest_version ${version})
            set(release_seconds ${seconds})
            set(VARNOTH_RELEASE_DATE ${day})
        endif()
        string(REGEX REPLACE "^</li>\n *" "" notes "${notes}")
        string(APPEND VARNOTH_APPSTREAM_RELEASES
               "    <release version=\"${version}\" date=\"${day}\">\n"
               "      <description>\n        <ul>\n          ${notes}</li>\n        </ul>\n"
               "      </description>\n    </release>\n")
    endif()
endforeach()
if(NOT newest_version STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "The newest entry of packaging/changelog is '${newest_version}', the "
                        "project's version ${PROJECT_VERSION}: add the release note for "
                        "${PROJECT_VERSION} at the top of packaging/changelog.")
endif()

# The same sources must give the same bytes on any machine at any time, so every time stamp a
# build writes is one fixed time: the one a packager's SOURCE_DATE_EPOCH names, else the last
# commit's, else (a source tarball has no history) the newest release note's. A tree that sits
# inside some other repository, as an unpacked tarball may, takes nothing from that one.
set(VARNOTH_GIT_TREE OFF)
find_package(Git QUIET)
if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --show-toplevel
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE top OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(top STREQUAL PROJECT_SOURCE_DIR)
        set(VARNOTH_GIT_TREE ON)
    endif()
endif()
set(VARNOTH_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
if(NOT VARNOTH_SOURCE_DATE_EPOCH AND VARNOTH_GIT_TREE)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE VARNOTH_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
                    COMMAND_ERROR_IS_FATAL ANY)
endif()
if(NOT VARNOTH_SOURCE_DATE_EPOCH)
    set(VARNOTH_SOURCE_DATE_EPOCH ${release_seconds})
endif()
message(STATUS "Varnoth ${PROJECT_VERSION}, files stamped ${VARNOTH_SOURCE_DATE_EPOCH}")

# Qt's resource compiler writes each picture's modification time into the program, and takes
# SOURCE_DATE_EPOCH instead where it is set; every command the build runs gets it, so does
# cpack through CPackProjectConfig.cmake.
set_property(DIRECTORY PROPERTY RULE_LAUNCH_CUSTOM
             "${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${VARNOTH_SOURCE_DATE_EPOCH}")

# `cmake --workflow --preset release` makes varnoth-VERSION.tar.xz: the files of the last commit
# as git archives them, each stamped with the commit's time and compressed on one thread, so
# one commit gives the same tarball on any machine, whatever its git settings. It builds
# without its history.
if(VARNOTH_GIT_TREE)
    add_custom_target(source-tarball
        COMMAND ${GIT_EXECUTABLE} -c tar.umask=0022 -c "tar.tar.xz.command=xz -T1 -9 -c"
                archive --format=tar.xz
                --prefix=varnoth-${PROJECT_VERSION}/
                -o ${PROJECT_BINARY_DIR}/varnoth-${PROJECT_VERSION}.tar.xz HEAD
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        COMMENT "Making varnoth-${PROJECT_VERSION}.tar.xz from the last commit"
        VERBATIM)
endif()
