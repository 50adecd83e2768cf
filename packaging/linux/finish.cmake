# SPDX-License-Identifier: MIT
# Run when installing (page.cmake): writes zbv_from to zbv_to with @ZBV_INSTALLED_PAGE@ as the
# page's path under this install's prefix (zbv_page below it), compressed with zbv_gzip when
# that names gzip. The path is quoted where it stands in a desktop entry's Exec line; the
# characters that would need escaping there are refused.
set(ZBV_INSTALLED_PAGE "${CMAKE_INSTALL_PREFIX}/${zbv_page}")
if(ZBV_INSTALLED_PAGE MATCHES "[\"`$\\%]")
  message(FATAL_ERROR "the page's path ${ZBV_INSTALLED_PAGE} holds one of \" ` $ \\ %, "
                      "which a menu entry cannot name plainly: install under another prefix")
endif()
configure_file(${zbv_from} ${zbv_to} @ONLY)
if(zbv_gzip)
  execute_process(COMMAND ${zbv_gzip} -9nf ${zbv_to} COMMAND_ERROR_IS_FATAL ANY)
endif()
