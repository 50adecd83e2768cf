# SPDX-License-Identifier: MIT
# The Windows release: an icon and version information compiled into the .exe with the
# resource compiler, and a zip of the .exe, the web page beside it, a README and the
# licence, with Windows' line endings, named after the version.
enable_language(RC)
set(zbv_windows ${CMAKE_CURRENT_LIST_DIR})
set(zbv_out ${PROJECT_BINARY_DIR}/packaging)
find_program(ZBV_ICOTOOL icotool REQUIRED)

# The icon of every size, from the start-up pictures in docs/icons; the largest kept as PNG.
set(ZBV_ICO ${zbv_out}/zbuffer-viewer.ico)
set(zbv_pngs)
set(zbv_icotool_args)
foreach(size 16 32 48 256)
  set(png ${PROJECT_SOURCE_DIR}/docs/icons/zbuffer-viewer-${size}.png)
  list(APPEND zbv_pngs ${png})
  if(size EQUAL 256)
    list(APPEND zbv_icotool_args --raw=${png})
  else()
    list(APPEND zbv_icotool_args ${png})
  endif()
endforeach()
add_custom_command(OUTPUT ${ZBV_ICO}
                   COMMAND ${ZBV_ICOTOOL} --create --output=${ZBV_ICO} ${zbv_icotool_args}
                   DEPENDS ${zbv_pngs} VERBATIM)

# No link time in the .exe's header, so that a rebuild of the same sources gives the same file.
target_link_options(zbuffer-viewer PRIVATE LINKER:--no-insert-timestamp)

configure_file(${zbv_windows}/zbuffer-viewer.rc.in ${zbv_out}/zbuffer-viewer.rc @ONLY)
target_sources(zbuffer-viewer PRIVATE ${zbv_out}/zbuffer-viewer.rc)
add_custom_target(windows-icon DEPENDS ${ZBV_ICO})
add_dependencies(zbuffer-viewer windows-icon)
set_source_files_properties(${zbv_out}/zbuffer-viewer.rc TARGET_DIRECTORY zbuffer-viewer
                            PROPERTIES OBJECT_DEPENDS ${ZBV_ICO})

set(zbv_zip_dir ${zbv_out}/zip)
configure_file(${zbv_windows}/README.txt.in ${zbv_zip_dir}/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${zbv_zip_dir}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
set(ZBV_ZIP ${PROJECT_BINARY_DIR}/zbuffer-viewer-${PROJECT_VERSION}-windows-x64.zip)
add_custom_command(
  OUTPUT ${ZBV_ZIP}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:zbuffer-viewer> ${zbv_zip_dir}/
  COMMAND ${CMAKE_COMMAND} -E copy ${ZBV_WEB_PAGE} ${zbv_zip_dir}/zbuffer-viewer.html
  COMMAND ${CMAKE_COMMAND} -E chdir ${zbv_zip_dir} ${CMAKE_COMMAND} -E tar cf ${ZBV_ZIP}
          --format=zip zbuffer-viewer.exe zbuffer-viewer.html README.txt LICENSE.txt
  DEPENDS zbuffer-viewer ${ZBV_WEB_PAGE} ${zbv_zip_dir}/README.txt ${zbv_zip_dir}/LICENSE.txt
  VERBATIM)
add_custom_target(windows-zip ALL DEPENDS ${ZBV_ZIP})
