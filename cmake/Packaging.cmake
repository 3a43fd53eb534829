# The Debian package, made by CPack from the install rules: `make package`, or `cpack -G DEB`
# in any build folder. The package installs under /usr whatever CMAKE_INSTALL_PREFIX the build
# folder has, since CPack installs into its own staging folder with the packaging prefix.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sitorva)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Sitorva developers")
set(CPACK_PACKAGE_CONTACT "The Sitorva developers <developers@sitorva.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://sitorva.org/")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "wizard that builds a web page section by section")
set(CPACK_PACKAGE_DESCRIPTION [=[
Sitorva builds one web page at a time for people who do not write markup. A
wizard walks through the page: a title, a background, then one section after
another - headings, paragraphs, pictures, dividers, anchors, bulleted and
numbered lists, line indexes of links, raw HTML and sounds.

The work is saved as a .stv project. Create Web Page writes the HTML file and
copies its pictures and sounds beside it, and a small FTP window uploads the
result. Colour, link and image lists let short marks in the texts colour words,
link them and place pictures. The page can also be written from the command
line with sitorva --generate.]=])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_SOURCE_GENERATOR "")

# Before CPack packs its staging folder: the program, its core library and modules are stripped as
# Debian strips them (symbols not needed for relocation, and the compiler's .comment and .note
# sections, which CMake's own strip keeps), and every folder is made 0755. The folders the
# install creates on its way get the packager's umask (CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
# is masked by it too), and a package must not depend on that. Files keep the install rules'
# permissions: 0644, and 0755 for programs.
set(STV_FOLDER_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${STV_FOLDER_PERMISSIONS})
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${STV_FOLDER_PERMISSIONS})
set(STV_STAGING_SCRIPT ${CMAKE_BINARY_DIR}/CPackPrepareStaging.cmake)
file(CONFIGURE OUTPUT ${STV_STAGING_SCRIPT} @ONLY CONTENT [=[
set(staging "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
file(GLOB programs LIST_DIRECTORIES false "${staging}/usr/bin/*")
file(GLOB_RECURSE modules LIST_DIRECTORIES false "${staging}/usr/lib/*.so")
list(APPEND programs ${modules})
foreach(program IN LISTS programs)
  execute_process(COMMAND "@CMAKE_STRIP@" --strip-unneeded --remove-section=.comment
                          --remove-section=.note "${program}"
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()
file(GLOB_RECURSE entries LIST_DIRECTORIES true "${staging}/*")
foreach(entry IN LISTS entries)
  if(IS_DIRECTORY "${entry}" AND NOT IS_SYMLINK "${entry}")
    file(CHMOD "${entry}" DIRECTORY_PERMISSIONS @STV_FOLDER_PERMISSIONS@)
  endif()
endforeach()
]=])
set(CPACK_PRE_BUILD_SCRIPTS ${STV_STAGING_SCRIPT})

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The library packages come from the executable's needs (dpkg-shlibdeps, from dpkg-dev).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The program's own core library, in its private folder, is the package's and needs no other.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_INSTALL_LIBDIR}/sitorva)
# Opening pages and folders goes through xdg-utils; named sounds come from the sound theme.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, sound-theme-freedesktop")

include(CPack)
