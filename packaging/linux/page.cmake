# SPDX-License-Identifier: MIT
# The web page in the Linux install: the page in the program's data folder, a menu entry
# that opens it in the default browser, and the manual page, which names it. Where the page
# lies depends on the prefix the install is given (make install's PREFIX, /usr in the
# package), so the two files that name it are finished when installing (finish.cmake), from
# text configured here in which @ZBV_INSTALLED_PAGE@ stands for itself.
#
# The page and its entry are the install's component "page", left out of a bare
# `cmake --install` (which needs no Emscripten) and put in by make install and the package.
set(zbv_page_dir ${CMAKE_INSTALL_DATAROOTDIR}/zbuffer-viewer)
set(ZBV_INSTALLED_PAGE "@ZBV_INSTALLED_PAGE@")
configure_file(${zbv_linux}/zbuffer-viewer.1.in ${zbv_out}/zbuffer-viewer.1 @ONLY)

# Installs FILE of zbv_out into DESTINATION, the page's path filled in when installing; with
# GZIP, compressed then as Debian wants it. What follows goes to install() (COMPONENT ...).
function(zbv_install_naming_page file destination)
  cmake_parse_arguments(PARSE_ARGV 2 arg "GZIP" "" "")
  set(finished ${zbv_out}/installed/${file})
  set(gzip "")
  if(arg_GZIP)
    set(gzip ${ZBV_GZIP})
  endif()
  install(CODE "set(zbv_from \"${zbv_out}/${file}\")
                set(zbv_to \"${finished}\")
                set(zbv_page \"${zbv_page_dir}/zbuffer-viewer.html\")
                set(zbv_gzip \"${gzip}\")
                include(\"${zbv_linux}/finish.cmake\")"
          ${arg_UNPARSED_ARGUMENTS})
  if(arg_GZIP)
    string(APPEND finished .gz)
  endif()
  install(FILES ${finished} DESTINATION ${destination} ${arg_UNPARSED_ARGUMENTS})
endfunction()

zbv_install_naming_page(zbuffer-viewer.1 ${CMAKE_INSTALL_MANDIR}/man1 GZIP)

install(CODE "if(NOT EXISTS \"${ZBV_WEB_PAGE}\")
                message(FATAL_ERROR \"no web page at ${ZBV_WEB_PAGE}: make web builds it\")
              endif()"
        COMPONENT page EXCLUDE_FROM_ALL)
install(FILES ${ZBV_WEB_PAGE} DESTINATION ${zbv_page_dir} COMPONENT page EXCLUDE_FROM_ALL)
configure_file(${zbv_linux}/zbuffer-viewer-web.desktop.in ${zbv_out}/zbuffer-viewer-web.desktop
               @ONLY)
zbv_install_naming_page(zbuffer-viewer-web.desktop ${CMAKE_INSTALL_DATAROOTDIR}/applications
                        COMPONENT page EXCLUDE_FROM_ALL)

# The package has both components, and lintian's note that the browser's entry starts
# xdg-open, which the package recommends rather than ships.
install(FILES ${zbv_linux}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides
        RENAME zbuffer-viewer COMPONENT debian EXCLUDE_FROM_ALL)
set(CPACK_INSTALL_CMAKE_PROJECTS ${PROJECT_BINARY_DIR} ${PROJECT_NAME} ALL /
    ${PROJECT_BINARY_DIR} ${PROJECT_NAME} page / ${PROJECT_BINARY_DIR} ${PROJECT_NAME} debian /)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
