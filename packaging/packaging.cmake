# SPDX-License-Identifier: MIT
# What a release is made of, on every platform: the version comes from project(VERSION), the
# release date from CHANGELOG.md's entry for that version, and every file that names either
# is generated from them here.

# "## [1.0.0] - 2026-12-09" in CHANGELOG.md: a version without an entry is not released.
file(STRINGS ${PROJECT_SOURCE_DIR}/CHANGELOG.md zbv_release_line
     REGEX "^## \\[${PROJECT_VERSION}\\] - [0-9]+-[0-9]+-[0-9]+$")
if(NOT zbv_release_line)
  message(FATAL_ERROR "CHANGELOG.md has no entry \"## [${PROJECT_VERSION}] - YYYY-MM-DD\"")
endif()
string(REGEX REPLACE ".* - " "" ZBV_RELEASE_DATE "${zbv_release_line}")

# The AppStream id is the home page's host name reversed, then the program's name.
string(REGEX REPLACE "^[a-z]+://([^/]+).*" "\\1" zbv_host "${PROJECT_HOMEPAGE_URL}")
string(REPLACE "." ";" zbv_host_parts "${zbv_host}")
list(REVERSE zbv_host_parts)
list(JOIN zbv_host_parts "." ZBV_APP_ID)
string(REPLACE "-" "_" ZBV_APP_ID "${ZBV_APP_ID}.zbuffer_viewer")
# Where the pictures of docs/ are published for this version (the metainfo's screenshots).
set(ZBV_DOCS_URL "" CACHE STRING "Public address of this version's docs folder; empty: the home page's")
set(ZBV_DOCS_URL_USED "${ZBV_DOCS_URL}")
if(NOT ZBV_DOCS_URL_USED)
  set(ZBV_DOCS_URL_USED "${PROJECT_HOMEPAGE_URL}/raw/v${PROJECT_VERSION}/docs")
endif()

# The copyright line as LICENSE states it.
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE ZBV_COPYRIGHT REGEX "^Copyright " LIMIT_COUNT 1)
set(CPACK_PACKAGE_NAME zbuffer-viewer)
set(CPACK_PACKAGE_VENDOR "the zbuffer-viewer authors")
set(CPACK_PACKAGE_CONTACT "zbuffer-viewer developers <maintainers@users.noreply.c-seed-620b6285.example>")

# The viewer as one web page, which both packages carry beside the program: `make web` builds
# it (the web preset, into build-web/) before either is made.
set(ZBV_WEB_PAGE ${PROJECT_SOURCE_DIR}/build-web/zbuffer-viewer.html
    CACHE FILEPATH "The web page the packages carry (make web builds it)")

include(GNUInstallDirs)
install(TARGETS zbuffer-viewer RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/windows/windows.cmake)
elseif(UNIX AND NOT APPLE)
  include(${CMAKE_CURRENT_LIST_DIR}/linux/linux.cmake)
endif()
