# Read by cpack for each package it makes.
if(CPACK_GENERATOR STREQUAL "DEB" AND NOT CPACK_VARNOTH_DEBIAN)
    message(FATAL_ERROR "This build folder is not made for the Debian package. Make one with "
                        "`cmake --workflow --preset debian` (the package lands in build-deb/).")
endif()
# Every file in the archives gets the time of the sources, not of the packaging, unless the
# packager names another time.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    set(ENV{SOURCE_DATE_EPOCH} ${CPACK_VARNOTH_SOURCE_DATE_EPOCH})
endif()
