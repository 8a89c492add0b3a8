# The compiler and linker flags of a Debian package, as dpkg-buildflags gives them, with all
# of Debian's hardening on (stack protector, FORTIFY, format checks, full RELRO with BIND_NOW,
# PIE) unless the packager chose otherwise in DEB_BUILD_MAINT_OPTIONS. A packager's
# DEB_CXXFLAGS_APPEND and friends come through the same way.
find_program(DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)
if(NOT DEFINED ENV{DEB_BUILD_MAINT_OPTIONS})
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

# Debian 13's dpkg adds stack clash protection and control-flow protection to the hardening;
# Debian 12's does not yet, so add them where the compiler has them for this machine.
include(CheckCXXCompilerFlag)
foreach(flag -fstack-clash-protection -fcf-protection)
    string(MAKE_C_IDENTIFIER "HAVE${flag}" have_flag)
    string(FIND " ${CMAKE_CXX_FLAGS} " " ${flag}" given)
    check_cxx_compiler_flag(${flag} ${have_flag})
    if(given EQUAL -1 AND ${have_flag})
        string(APPEND CMAKE_CXX_FLAGS " ${flag}")
    endif()
endforeach()
