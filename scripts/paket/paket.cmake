# Installation and the Debian packages: `cpack -G DEB` in a Release build
# folder makes ciframer-cli (the command line, no Qt) and, when the window is
# built, ciframer (the window). scripts/package does it and runs lintian.
include(GNUInstallDirs)

# The changelog's newest entry names the package version: its upstream part
# must be the project's, and its Debian revision becomes the package's.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/scripts/paket/changelog)
file(STRINGS ${PROJECT_SOURCE_DIR}/scripts/paket/changelog ciframer_changelog_head LIMIT_COUNT 1)
if(NOT ciframer_changelog_head MATCHES "^ciframer \\(([^-)]+)-([^)]+)\\)")
    message(FATAL_ERROR "scripts/paket/changelog: the first line is not 'ciframer (VERSION-REVISION) ...'")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "scripts/paket/changelog names ${CMAKE_MATCH_1}, the project is ${PROJECT_VERSION}: "
                        "add an entry for ${PROJECT_VERSION}")
endif()
set(CPACK_DEBIAN_PACKAGE_RELEASE ${CMAKE_MATCH_2})

# Debian keeps manual pages and changelogs compressed; -n leaves no name or
# time stamp in the file, so that two builds give the same bytes.
function(ciframer_gzip source target)
    get_filename_component(name ${source} NAME)
    set(gz ${CMAKE_BINARY_DIR}/paket/${target}.gz)
    add_custom_command(OUTPUT ${gz}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/paket
                       COMMAND gzip -9nc ${source} > ${gz}
                       DEPENDS ${source} VERBATIM)
    add_custom_target(ciframer_gz_${target} ALL DEPENDS ${gz})
    set(ciframer_gz ${gz} PARENT_SCOPE)
endfunction()

ciframer_gzip(${PROJECT_SOURCE_DIR}/scripts/paket/changelog changelog.Debian)
set(ciframer_changelog_gz ${ciframer_gz})

# What every package carries besides its programs: the manual page of each
# program, in /usr/share/doc/<package> the copyright and the changelog, and
# lintian's overrides.
function(ciframer_paket component package)
    foreach(program IN LISTS ARGN)
        ciframer_gzip(${PROJECT_SOURCE_DIR}/docs/${program}.1 ${program}.1)
        install(FILES ${ciframer_gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
                COMPONENT ${component})
    endforeach()
    set(doc ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package})
    install(FILES ${PROJECT_SOURCE_DIR}/scripts/paket/copyright ${ciframer_changelog_gz}
            DESTINATION ${doc} COMPONENT ${component})
    install(FILES ${PROJECT_SOURCE_DIR}/scripts/paket/lintian-overrides
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides RENAME ${package}
            COMPONENT ${component})
    string(TOUPPER ${component} c)
    set(CPACK_DEBIAN_${c}_PACKAGE_NAME ${package} PARENT_SCOPE)
endfunction()

install(TARGETS ciframer-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT cli)
ciframer_paket(cli ciframer-cli ciframer-cli)
set(CPACK_COMPONENTS_ALL cli)
if(CIFRAMER_BUILD_QT)
    # The window's own rules (program, menu entry, icon) are in src/ui.
    ciframer_paket(okno ciframer ciframer)
    list(APPEND CPACK_COMPONENTS_ALL okno)
endif()

set(CPACK_PACKAGE_NAME ciframer)
set(CPACK_PACKAGE_VENDOR "Ciframer developers")
# lintian takes any host that is a well-formed domain name; "localhost" is not.
set(CPACK_PACKAGE_CONTACT "Ciframer developers <ciframer@example.org>")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE ciframer)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends from the libraries the binaries really link (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)

# The first line is the synopsis; the rest, wrapped under 80 columns, the
# extended description.
set(CPACK_DEBIAN_CLI_DESCRIPTION [[calculator with 101 significant digits in radix 2 to 36 (command line)
Ciframer computes named definitions, one a line (x = 2, y = sin(x)^2+1),
with 101 significant digits in any radix from 2 to 36, with the elementary
functions, degrees, radians or grads, and a cache of pi, e^n and ln n.

This package holds ciframer-cli, the command line: it computes a file of
definitions, -e texts or standard input, or opens an interactive session
with line editing. It needs no Qt.]])
set(CPACK_DEBIAN_OKNO_DESCRIPTION [[calculator with 101 significant digits in radix 2 to 36 (window)
Ciframer computes named definitions, one a line (x = 2, y = sin(x)^2+1),
with 101 significant digits in any radix from 2 to 36, with the elementary
functions, degrees, radians or grads, and a cache of pi, e^n and ln n.

This package holds ciframer, the Qt 6 window: a definitions field with
highlighting, input buttons, a run that can be stopped, a progress log and
a history of runs. The command line is in the package ciframer-cli.]])
set(CPACK_DEBIAN_OKNO_PACKAGE_SECTION math)
# Qt's own dialogs and buttons in Russian, when its translations are there.
set(CPACK_DEBIAN_OKNO_PACKAGE_RECOMMENDS qt6-translations-l10n)
include(CPack)
