# The compiler and linker flags of a Debian package, asked of dpkg-buildflags once, as
# dpkg-buildpackage would, for a package built outside it (the debian preset). Under
# dpkg-buildpackage and dh the flags come in the environment and CMake has read them already,
# so VARNOTH_DEBIAN_FLAGS stays off there. A packager's DEB_BUILD_MAINT_OPTIONS and
# DEB_CXXFLAGS_APPEND and friends come through dpkg-buildflags; without them all of Debian's
# hardening is on.
find_program(DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)
set(packager_chose_hardening OFF)
if(DEFINED ENV{DEB_BUILD_MAINT_OPTIONS})
    set(packager_chose_hardening ON)
else()
    set(ENV{DEB_BUILD_MAINT_OPTIONS} hardening=+all)
endif()
foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    # From the source folder, so that -ffile-prefix-map leaves no build path in the binary.
    execute_process(COMMAND ${DPKG_BUILDFLAGS} --get ${kind}
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE debian_${kind} OUTPUT_STRIP_TRAILING_WHITESPACE
                    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
string(APPEND CMAKE_CXX_FLAGS " ${debian_CPPFLAGS} ${debian_CXXFLAGS}")
string(APPEND CMAKE_EXE_LINKER_FLAGS " ${debian_LDFLAGS}")

# Debian 13's dpkg adds stack clash protection and control-flow protection to all of the
# hardening; Debian 12's does not yet, so add them where the compiler has them for this machine,
# unless the packager chose the hardening.
if(NOT packager_chose_hardening)
    include(CheckCXXCompilerFlag)
    foreach(flag -fstack-clash-protection -fcf-protection)
        string(MAKE_C_IDENTIFIER "HAVE${flag}" have_flag)
        string(FIND " ${CMAKE_CXX_FLAGS} " " ${flag}" given)
        check_cxx_compiler_flag(${flag} ${have_flag})
        if(given EQUAL -1 AND ${have_flag})
            string(APPEND CMAKE_CXX_FLAGS " ${flag}")
        endif()
    endforeach()
endif()
