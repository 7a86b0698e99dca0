# Install components and the Debian packages made of them:
#   gui -> korbisto      the program and what a desktop needs of it
#   cli -> korbisto-cli  the command-line tool (Qt Core and Qt Network only)
# Every install() names one of the two components; anything else is left
# out of the packages.

set(KORBISTO_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})

# The package revision is the one of the newest changelog entry, so that the
# package and its changelog cannot disagree.
file(STRINGS ${KORBISTO_PACKAGING_DIR}/changelog _korbisto_newest LIMIT_COUNT 1)
if(NOT _korbisto_newest MATCHES "^korbisto \\(([^)]+)-([0-9]+)\\) ")
  message(FATAL_ERROR "packaging/changelog: the first line names no version of the form VERSION-REVISION")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(WARNING "packaging/changelog ends at ${CMAKE_MATCH_1}, the project is ${PROJECT_VERSION}: "
    "add an entry for it before making packages")
endif()
set(KORBISTO_DEBIAN_REVISION ${CMAKE_MATCH_2})

# korbisto_install_gzipped(FILE DESTINATION DIR COMPONENT COMP [RENAME NAME]
#                          [DEPENDS TARGET...] [EXCLUDE_FROM_ALL])
# Installs FILE (a source or a file made at build time, say a man page)
# compressed the way Debian wants: gzip -9 without name and time stamp.
function(korbisto_install_gzipped file)
  cmake_parse_arguments(G "EXCLUDE_FROM_ALL" "DESTINATION;COMPONENT;RENAME" "DEPENDS" ${ARGN})
  if(NOT G_DESTINATION OR NOT G_COMPONENT)
    message(FATAL_ERROR "korbisto_install_gzipped(${file}): DESTINATION and COMPONENT are needed")
  endif()
  get_filename_component(name ${file} NAME)
  if(G_RENAME)
    set(name ${G_RENAME})
  endif()
  set(out ${CMAKE_CURRENT_BINARY_DIR}/gzipped/${G_COMPONENT}/${name}.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND sh -c "gzip -9nc \"$0\" > \"$1\"" ${file} ${out}
    DEPENDS ${file} ${G_DEPENDS}
    VERBATIM)
  string(MAKE_C_IDENTIFIER "${G_COMPONENT}_${name}" id)
  add_custom_target(korbisto_gz_${id} ALL DEPENDS ${out})
  set(exclude)
  if(G_EXCLUDE_FROM_ALL)
    set(exclude EXCLUDE_FROM_ALL)
  endif()
  install(FILES ${out} DESTINATION ${G_DESTINATION} COMPONENT ${G_COMPONENT} ${exclude})
endfunction()

# Called after the desktop entry and the file types are installed. An install
# into a prefix (~/.local, /usr/local) refreshes the caches a desktop reads
# them from; a staged install (DESTDIR, as cpack and dpkg-buildpackage do)
# leaves that to the package manager's triggers. Either says which build it
# installs.
function(korbisto_install_desktop_steps)
  install(CODE "set(KORBISTO_INSTALL_DATADIR \"${CMAKE_INSTALL_DATADIR}\")" COMPONENT gui)
  install(SCRIPT ${KORBISTO_PACKAGING_DIR}/refresh_desktop.cmake COMPONENT gui)
  if(KORBISTO_SELF_UPDATE)
    set(note "korbisto updates itself: its update window downloads and starts the maker's installer (KORBISTO_SELF_UPDATE=ON)")
  else()
    set(note "korbisto does not update itself: its update window checks for a new version and points to the package management (KORBISTO_SELF_UPDATE=OFF)")
  endif()
  install(CODE "message(STATUS \"${note}\")" COMPONENT gui)
endfunction()

# Copyright in every install; the Debian changelog and lintian's overrides
# only in the packages (component installs), not in a prefix.
set(_korbisto_components gui cli)
set(_korbisto_packages korbisto korbisto-cli)
foreach(component package IN ZIP_LISTS _korbisto_components _korbisto_packages)
  set(doc ${CMAKE_INSTALL_DATADIR}/doc/${package})
  install(FILES ${KORBISTO_PACKAGING_DIR}/copyright DESTINATION ${doc} COMPONENT ${component})
  korbisto_install_gzipped(${KORBISTO_PACKAGING_DIR}/changelog RENAME changelog.Debian
    DESTINATION ${doc} COMPONENT ${component} EXCLUDE_FROM_ALL)
  install(FILES ${KORBISTO_PACKAGING_DIR}/${package}.lintian-overrides
    DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME ${package} COMPONENT ${component} EXCLUDE_FROM_ALL)
endforeach()

# Build with --preset package (self-update off) and run cpack --preset package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korbisto)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Korbisto-Team")
set(CPACK_PACKAGE_CONTACT "Korbisto-Team <support@korbisto.example>")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${_korbisto_components})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${KORBISTO_DEBIAN_REVISION})
set(CPACK_DEBIAN_PACKAGE_SOURCE korbisto)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt 6 libraries each binary links, found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_KORBISTO_STRIP ${CMAKE_STRIP})
set(CPACK_PRE_BUILD_SCRIPTS ${KORBISTO_PACKAGING_DIR}/strip_binaries.cmake)

set(CPACK_DEBIAN_GUI_PACKAGE_NAME korbisto)
file(READ ${KORBISTO_PACKAGING_DIR}/korbisto.description CPACK_DEBIAN_GUI_DESCRIPTION)
# Qt loads the platform plugins at run time, so dpkg-shlibdeps cannot see
# them; without one the program shows no window at all.
set(CPACK_DEBIAN_GUI_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Qt's German dialogs, the fonts the skin asks for (src/ui/style.cpp), and
# the CAs the downloads verify the server with.
set(CPACK_DEBIAN_GUI_PACKAGE_RECOMMENDS
  "qt6-translations-l10n, fonts-liberation2, fonts-crosextra-carlito, fonts-comfortaa, ca-certificates")
set(CPACK_DEBIAN_GUI_PACKAGE_SUGGESTS "korbisto-cli")

set(CPACK_DEBIAN_CLI_PACKAGE_NAME korbisto-cli)
file(READ ${KORBISTO_PACKAGING_DIR}/korbisto-cli.description CPACK_DEBIAN_CLI_DESCRIPTION)
set(CPACK_DEBIAN_CLI_PACKAGE_RECOMMENDS "ca-certificates")

# Seen by cpack_options.cmake, which refuses a Debian package that would
# update itself.
set(CPACK_KORBISTO_SELF_UPDATE ${KORBISTO_SELF_UPDATE})
set(CPACK_PROJECT_CONFIG_FILE ${KORBISTO_PACKAGING_DIR}/cpack_options.cmake)
include(CPack)
