# SPDX-License-Identifier: MIT
# The Linux release: the files a desktop and a distribution expect beside the executable,
# installed into the GNU directories, and the Debian package made of them.
set(zbv_linux ${CMAKE_CURRENT_LIST_DIR})
set(zbv_out ${PROJECT_BINARY_DIR}/packaging)
find_program(ZBV_GZIP gzip REQUIRED)

# Hardened like Debian's own packages (relocations read-only, bound at start-up), and no
# trace of the directory it was built in, so that two checkouts build the same bytes.
target_link_options(zbuffer-viewer PRIVATE LINKER:-z,relro LINKER:-z,now)
foreach(target viewer zbuffer-viewer)
  target_compile_options(${target} PRIVATE -ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
                                           -ffile-prefix-map=${PROJECT_BINARY_DIR}/=)
endforeach()

execute_process(COMMAND date -u -R -d "${ZBV_RELEASE_DATE} 00:00:00"
                OUTPUT_VARIABLE ZBV_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)

# The licence as a paragraph of Debian's machine-readable copyright file: from its
# permission notice on, each line indented by one space, empty lines as " .".
file(READ ${PROJECT_SOURCE_DIR}/LICENSE zbv_text)
string(FIND "${zbv_text}" "Permission is hereby granted" zbv_at)
string(SUBSTRING "${zbv_text}" ${zbv_at} -1 zbv_text)
string(STRIP "${zbv_text}" zbv_text)
string(REPLACE "\n\n" "\n.\n" zbv_text "${zbv_text}")
string(REPLACE "\n" "\n " ZBV_LICENSE_TEXT " ${zbv_text}")
# "Copyright (c) 2026 the zbuffer-viewer authors" as Debian writes it: "2026 the ... authors".
string(REGEX REPLACE "^Copyright (\\([cC]\\) )?" "" ZBV_COPYRIGHT_DEBIAN "${ZBV_COPYRIGHT}")
configure_file(${zbv_linux}/copyright.in ${zbv_out}/copyright @ONLY)

# The Debian changelog: this version's items of CHANGELOG.md as its entry.
file(READ ${PROJECT_SOURCE_DIR}/CHANGELOG.md zbv_text)
string(FIND "${zbv_text}" "\n## [${PROJECT_VERSION}]" zbv_at)
string(SUBSTRING "${zbv_text}" ${zbv_at} -1 zbv_text)
string(REGEX REPLACE "^\n## [^\n]*" "" zbv_text "${zbv_text}")
string(REGEX REPLACE "\n## .*" "" zbv_text "${zbv_text}")
string(REGEX REPLACE "\n### [^\n]*" "" zbv_text "${zbv_text}")
string(REPLACE "`" "" zbv_text "${zbv_text}")
string(REPLACE "\n  " "\n    " zbv_text "${zbv_text}")
string(REPLACE "\n- " "\n  * " zbv_text "${zbv_text}")
string(REGEX REPLACE "\n\n+" "\n" zbv_text "${zbv_text}")
string(STRIP "${zbv_text}" zbv_text)
set(ZBV_CHANGES "  ${zbv_text}")
configure_file(${zbv_linux}/changelog.in ${zbv_out}/changelog @ONLY)

configure_file(${zbv_linux}/zbuffer-viewer.metainfo.xml.in
               ${zbv_out}/zbuffer-viewer.metainfo.xml @ONLY)

# Compressed as Debian wants them: best compression, no name or time in the header.
add_custom_command(OUTPUT ${zbv_out}/gz/changelog.gz
                   COMMAND ${CMAKE_COMMAND} -E copy ${zbv_out}/changelog ${zbv_out}/gz/changelog
                   COMMAND ${ZBV_GZIP} -9nf ${zbv_out}/gz/changelog
                   DEPENDS ${zbv_out}/changelog VERBATIM)
add_custom_target(release-files ALL DEPENDS ${zbv_out}/gz/changelog.gz)

# The web page, its menu entry, and the manual page that names it (page.cmake).
include(${zbv_linux}/page.cmake)
install(FILES ${zbv_linux}/zbuffer-viewer.desktop
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
foreach(size 48 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/icons/zbuffer-viewer-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps
          RENAME zbuffer-viewer.png)
endforeach()
install(FILES ${zbv_out}/zbuffer-viewer.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
install(FILES ${zbv_out}/copyright ${zbv_out}/gz/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
# A stripped install (the package's) also drops the compiler's notes, as Debian's own do.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment --remove-section=.note
                    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/zbuffer-viewer\"
                    COMMAND_ERROR_IS_FATAL ANY)
  endif()")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "teaching viewer: depth buffer and lighting in OpenGL, switched by keys")
set(CPACK_PACKAGE_DESCRIPTION
    "Three teapots stand one behind the other above a floor, lit by three coloured
lights. Keys 1 to 7 switch the depth test, lighting and the one light that
shines, so that students of 3-D graphics see what each part of OpenGL's
fixed-function pipeline does.")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # depends on the libraries it links, found by dpkg-shlibdeps
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
# Folders as Debian wants them whatever the umask; CPack takes the modes of the archive's own
# members from the files it writes, so `make package` runs it under umask 022 as well.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
