# Installation layout. The program finds its installation as the parent of
# its own directory, so it lives with its data in lib/mkpkg, as in the build
# tree, and bin/ holds a relative link to it:
#   bin/mkpkg -> ../lib/mkpkg/bin/mkpkg
#   lib/mkpkg/bin/mkpkg
#   lib/mkpkg/targets/
#   share/man/man1/mkpkg.1
#   share/bash-completion/completions/mkpkg
install(TARGETS mkpkg RUNTIME DESTINATION lib/mkpkg/bin)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/targets DESTINATION lib/mkpkg)
install(CODE [[
  set(link "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/bin/mkpkg")
  message(STATUS "Installing: ${link}")
  file(MAKE_DIRECTORY "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/bin")
  file(REMOVE "${link}")
  file(CREATE_LINK ../lib/mkpkg/bin/mkpkg "${link}" SYMBOLIC)
]])
install(FILES ${PROJECT_SOURCE_DIR}/doc/mkpkg.1 DESTINATION share/man/man1)
install(FILES ${PROJECT_SOURCE_DIR}/doc/mkpkg.bash DESTINATION share/bash-completion/completions RENAME mkpkg)

# The Debian package, built with cpack in the build directory. Its runtime
# dependencies are computed from the program's shared libraries by
# dpkg-shlibdeps (package dpkg-dev).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mkpkg)
# The package version is the banner's release number, read from the one
# place that states it.
file(STRINGS ${PROJECT_SOURCE_DIR}/src/driver/Banner.cpp release_line REGEX "- Release [0-9.]+")
string(REGEX MATCH "Release ([0-9]+\\.[0-9]+\\.[0-9]+)" release_match "${release_line}")
if(NOT CMAKE_MATCH_1)
  message(FATAL_ERROR "no release number found in src/driver/Banner.cpp")
endif()
set(CPACK_PACKAGE_VERSION ${CMAKE_MATCH_1})
set(CPACK_PACKAGE_VENDOR "Fernhollow for ARM")
set(CPACK_PACKAGE_CONTACT "Fernhollow for ARM maintainers <mkpkg@fernhollow.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "package maintainer of the Fernhollow for ARM suite")
set(CPACK_PACKAGE_DESCRIPTION "mkpkg lists, creates, changes and extracts the suite's package files, and turns a solution (.hzp) into a packaged solution (.hzr).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
