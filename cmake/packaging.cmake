# The packages made by cpack from what cmake/install.cmake installs: a Debian
# package on Linux, a zip on Windows.
set(CPACK_PACKAGE_NAME filegen)
set(CPACK_PACKAGE_VENDOR "filegen maintainers")
set(CPACK_PACKAGE_CONTACT "filegen maintainers <maintainers@users.noreply.c-seed-d9b4e6cc.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "writes test-data files of any size, with a checkpoint in every section")
set(CPACK_PACKAGE_DESCRIPTION
    "filegen writes a file of the size asked for, up to the free space of its
volume, to serve as test data. Every 1,000,000-byte section of the file
starts with a checkpoint text that gives the section number and the section
size, so whoever looks inside the file later knows the offset. The rest is
zero bytes, letters that advance every so many bytes, or one chosen byte.
The questions are asked on full console pages.
filegen-check tells whether such a file is intact, after a copy across
disks or networks, and where the first damage is.")
set(CPACK_STRIP_FILES ON)

if(WIN32)
    set(CPACK_GENERATOR ZIP)
else()
    set(CPACK_GENERATOR DEB)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION utils)
    # The C++ run-time is linked in; dpkg-shlibdeps (dpkg-dev) finds what is
    # left, the C library, and the version the program needs of it.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

include(CPack)
