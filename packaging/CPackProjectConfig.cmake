# Read by cpack for each package it makes.
if(CPACK_GENERATOR STREQUAL "DEB" AND NOT CPACK_VARNOTH_DEBIAN)
    message(FATAL_ERROR "This build folder is not made for the Debian package. Make one with "
                        "`cmake --workflow --preset debian` (the package lands in build-deb/).")
endif()
