# SPDX-License-Identifier: MIT
# The two commands a newcomer needs: `make run` and `make test`.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# WERROR=1 turns compiler warnings into errors (CI does).
WERROR ?= 0
WERROR_FLAG = -DZBV_WERROR=$(if $(filter 1,$(WERROR)),ON,OFF)
CMAKE_FLAGS ?=
# Every configuration, build and test run is one of CMake's presets (CMakePresets.json): what
# each sets is written there alone. These are their folders, where this file finds what
# they built.
BUILD = build
SANITIZE_BUILD = build-sanitize
WINDOWS_BUILD = build-windows
WEB_BUILD = build-web
RELEASE_DIR = build-release
# The default preset builds the tests and benchmarks too; what users run builds without them.
CONFIGURE = cmake --preset default $(WERROR_FLAG) $(CMAKE_FLAGS)
# For what users run: a new $(BUILD) with the viewer alone, an existing one as it was
# configured, with the options given.
configure_for_use = if [ -f $(BUILD)/CMakeCache.txt ]; \
  then cmake -S . -B $(BUILD) $(WERROR_FLAG) $(CMAKE_FLAGS) $(1) >/dev/null; \
  else cmake --preset viewer $(WERROR_FLAG) $(CMAKE_FLAGS) $(1) >/dev/null; fi
# What scripts/install-deps installs besides the viewer's own needs: its groups, per target.
DEPS ?= test bench

VIEWER = $(abspath $(BUILD))/zbuffer-viewer
GALLERY = $(BUILD)/zbuffer-gallery

# Packages carry the time of the last commit, not of the build, so that two builds of one
# commit give the same bytes.
SOURCE_DATE_EPOCH ?= $(shell git log -1 --format=%ct 2>/dev/null)
ifneq ($(SOURCE_DATE_EPOCH),)
export SOURCE_DATE_EPOCH
endif

WINDOWS_EXE = $(abspath $(WINDOWS_BUILD))/zbuffer-viewer.exe
WINE_ENV = WINEPREFIX=$(abspath $(WINDOWS_BUILD))/wineprefix WINEDEBUG=-all \
  WINEDLLOVERRIDES="mscoree,mshtml="
# The end-to-end tests that apply to the Windows build under Wine.
WINDOWS_TESTS = Viewer.KeysSwitch*:Viewer.OtherKeys*:Viewer.Documented*

.PHONY: all deps build run gallery test test-sanitize bench package windows test-windows clean
.PHONY: web test-web bench-web

WEB_PAGE = $(WEB_BUILD)/zbuffer-viewer.html
WEB_PAGE_LIMIT = 140000
WEB_DRIVER = tools/browser/node_modules/.package-lock.json

.PHONY: test-whole test-wm test-softpipe

# The tests run on a private Xvfb, never on your desktop, unless ZBV_TEST_DISPLAY=1 asks for
# $DISPLAY (to watch them): there a window manager and your own windows take part.
TEST_X = $(if $(filter 1,$(ZBV_TEST_DISPLAY)),,ZBV_XVFB=1) scripts/with-xvfb

all: build
## The same as build

deps:
## Installs the Debian packages the build and the tests need (through sudo when not root)
	@scripts/install-deps $(DEPS)

build: deps
## Builds the viewer, the gallery, the tests and the benchmarks into build/
	@$(CONFIGURE) >/dev/null
	@cmake --build --preset default -j $(JOBS)

# With a display, the viewer; without one, the viewer on a virtual X server, driven
# through its states, each saved as a picture under $(BUILD)/gallery (and what its depth
# buffer holds under $(BUILD)/gallery/depth). Installs and builds only what that needs.
run: DEPS = $(if $(DISPLAY),,gallery)
run: deps
## Opens the viewer; without a display, saves what it shows on a virtual one
	@$(call configure_for_use,$(if $(DISPLAY),,-DZBV_GALLERY=ON))
	@cmake --build $(BUILD) -j $(JOBS) --target zbuffer-viewer $(if $(DISPLAY),,zbuffer-gallery)
	@if [ -n "$$DISPLAY" ]; then exec $(BUILD)/zbuffer-viewer; fi; \
	echo "No X display here: running the viewer on a virtual one and saving what it shows."; \
	ZBV_XVFB=1 scripts/with-xvfb $(GALLERY) $(BUILD)/gallery $(VIEWER)

# The pictures of every state and of the lab's presets, and the strips of docs/images, drawn
# anew (always on a private Xvfb).
gallery: DEPS = gallery
gallery: deps
## Saves a picture and a depth picture of every state, each frame draw by draw, the lab's presets, and redraws the strips
	@$(call configure_for_use,-DZBV_GALLERY=ON)
	@cmake --build $(BUILD) -j $(JOBS) --target zbuffer-viewer zbuffer-gallery
	ZBV_XVFB=1 scripts/with-xvfb $(GALLERY) --strip docs/images/gallery-strip.png \
	  --depth-strip docs/images/depth-strip.png --steps-strip docs/images/steps-strip.png \
	  --lab-strip docs/images/lab-strip.png $(BUILD)/gallery $(VIEWER)

test: DEPS = test
test: build
## Runs the tests, on a private X server unless ZBV_TEST_DISPLAY=1
	$(TEST_X) ctest --preset default

# Each test binary run whole in one process, its tests shuffled (the soak left to make test).
test-whole: DEPS = test
test-whole: build
## Runs each test binary whole, its tests shuffled
	$(TEST_X) ctest --preset whole

# The end-to-end tests with a window manager (openbox) on the private Xvfb.
test-wm: DEPS = test wm
test-wm: build
## Runs the end-to-end tests with a window manager on the private server
	ZBV_XVFB=1 ZBV_WM=openbox scripts/with-xvfb ctest --preset window-manager

# The tests that draw with Mesa on its other software renderer, softpipe (llvmpipe is the
# default), all but the soak: softpipe's own memory grows for the first 33,000 frames or so
# before it levels.
test-softpipe: DEPS = test
test-softpipe: build
## Runs the tests (all but the soak) on Mesa's softpipe renderer
	$(TEST_X) ctest --preset softpipe

# The unit, render and end-to-end tests built with AddressSanitizer and
# UndefinedBehaviorSanitizer (leak checking on).
test-sanitize: DEPS = test
test-sanitize: deps
## Runs the tests built with AddressSanitizer and UndefinedBehaviorSanitizer
	@cmake --preset sanitize $(WERROR_FLAG) $(CMAKE_FLAGS) >/dev/null
	@cmake --build --preset sanitize -j $(JOBS)
	$(TEST_X) ctest --preset sanitize

# Frame times on a real window, then the idle viewer's CPU time and memory. Each benchmark
# runs five times, interleaved with the others, so that a busy moment of the machine does not
# land on one of them alone; the medians are reported.
BENCH_FLAGS ?= --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true \
  --benchmark_report_aggregates_only=true
bench: DEPS = bench
bench: build
## Measures frame times and the idle viewer's CPU time and memory
	cd $(BUILD) && ../scripts/with-xvfb sh -c 'bench/frame_bench $(BENCH_FLAGS) && bench/idle_check "$$PWD/zbuffer-viewer"'

# The Debian package, made with CPack; the umask fixes the modes it gives the files it writes.
CPACK_DEB = cd $(BUILD) && umask 022 && cpack -G DEB >/dev/null

# The Debian package as CPack names it in $(BUILD).
DEB_FILE = $(BUILD)/zbuffer-viewer_$$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' $(BUILD)/CMakeCache.txt)_$$(dpkg --print-architecture).deb

# A Debian package of the viewer and its web page, its metadata shown and checked.
package: DEPS = package
package: build web
## Builds the Debian package and checks it (lintian, validators, a reproducible build)
	@scripts/install-deps release
	$(CPACK_DEB)
	scripts/check-package $(DEB_FILE)
	scripts/check-reproducible deb $(DEB_FILE)

# zbuffer-viewer.exe for 64-bit Windows, cross-compiled with MinGW-w64 against a static
# freeglut built from Debian's freeglut source package, and zipped with the web page.
windows: web
## Cross-compiles zbuffer-viewer.exe for Windows and zips it with the web page, a README and the licence
	@scripts/install-deps windows
	@scripts/install-deps release
	@scripts/freeglut-windows $(WINDOWS_BUILD)
	@cmake --preset windows $(WERROR_FLAG) >/dev/null
	@cmake --build --preset windows -j $(JOBS) --target zbuffer-viewer
	@cmake --build --preset windows --target windows-zip
	@scripts/check-windows-exe $(WINDOWS_BUILD)

# The Windows build under Wine, on a private X server, through the end-to-end checks.
test-windows: DEPS = test
test-windows: windows build
## Runs the Windows build under Wine through the end-to-end checks
	$(WINE_ENV) ZBV_XVFB=1 scripts/with-xvfb sh -c 'wineboot --init >/dev/null 2>&1; \
	  ZBV_WINDOWS_EXE="$(WINDOWS_EXE)" $(BUILD)/tests/e2e_test --gtest_filter="$(WINDOWS_TESTS)"; \
	  status=$$?; wineserver -k; exit $$status'

# The viewer as one self-contained web page, compiled with Emscripten from the same sources.
# What only ships the page (the packages, make install) needs Emscripten alone, not the
# browsers its tests drive.
WEB_DEPS = web
install deb package windows release-build release scorm: WEB_DEPS = page
web:
## Builds the viewer as one self-contained web page, build-web/zbuffer-viewer.html
	@scripts/install-deps $(WEB_DEPS)
	@cmake --preset web $(WERROR_FLAG) >/dev/null
	@cmake --build --preset web -j $(JOBS)
	@size=$$(stat -c %s $(WEB_PAGE)); echo "$(WEB_PAGE): $$size bytes"; \
	  if [ $$size -gt $(WEB_PAGE_LIMIT) ]; then echo "over $(WEB_PAGE_LIMIT) bytes" >&2; exit 1; fi

# The page as a SCORM 1.2 package for a learning platform, one item per challenge set, named
# for the version as the release names its files; SCORM_SEED=N gives every item that seed, so
# that the whole course gets the same tasks.
SCORM_SEED ?=
WEB_VERSION = $$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' $(WEB_BUILD)/CMakeCache.txt)
.PHONY: scorm
scorm: web
## Builds the page as a SCORM 1.2 package, build-web/zbuffer-viewer-<version>-scorm12.zip, and checks it
	@zip=$(WEB_BUILD)/zbuffer-viewer-$(WEB_VERSION)-scorm12.zip; \
	  scripts/scorm-package $(WEB_PAGE) $(WEB_VERSION) $$zip $(SCORM_SEED) && \
	  scripts/check-scorm $$zip $(WEB_PAGE)

# The browser driver (puppeteer-core), axe-core and pngjs, exactly as the lockfile pins them.
$(WEB_DRIVER): tools/browser/package.json tools/browser/package-lock.json
	cd tools/browser && npm ci --no-audit --no-fund --loglevel=error

# The page in headless Chromium and Firefox against the desktop viewer's own pictures of the
# same tour (ctest's label web: the gallery writes the tour, node runs tests/web/), all on one
# private Xvfb (Firefox has WebGL only on an X server).
test-web: DEPS = test
test-web: web build $(WEB_DRIVER)
## Runs the page in headless Chromium and Firefox against the desktop viewer's own pictures
	ZBV_XVFB=1 scripts/with-xvfb ctest --preset web

# The page's size, the time to its first frame (cold and warm browser, beside a minimal WebGL
# page), from a key to its frame, and the draw calls of the idle page.
bench-web: web $(WEB_DRIVER)
## Measures the page: its size, time to the first frame, key press to frame, idle draw calls
	ZBV_WEB_PAGE_LIMIT=$(WEB_PAGE_LIMIT) node bench/web/bench.js

clean:
## Removes the build folders
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(WINDOWS_BUILD) $(WEB_BUILD) $(RELEASE_DIR)

# Installing, uninstalling, the package alone, and this list.
.PHONY: install uninstall deb help
PREFIX ?= /usr/local

install: DEPS =
install: deps web
## Installs the viewer, its web page, manual page, desktop entries, icons and metainfo into PREFIX (default /usr/local) under DESTDIR
	@$(call configure_for_use,)
	@cmake --build $(BUILD) -j $(JOBS) --target zbuffer-viewer release-files
	@scripts/install-tree install $(BUILD) "$(DESTDIR)" "$(PREFIX)"

uninstall:
## Removes exactly what `make install` wrote into PREFIX under DESTDIR, and the folders it made
	@scripts/install-tree uninstall $(BUILD) "$(DESTDIR)" "$(PREFIX)"

deb: DEPS = package
deb: deps web
## Builds the Debian package alone, without the tests, unchecked
	@$(call configure_for_use,)
	@cmake --build $(BUILD) -j $(JOBS) --target zbuffer-viewer release-files
	$(CPACK_DEB)

# Every target of this Makefile, each with the `## ` line that follows its rule line.
help:
## Lists every target with what it does
	@awk 'function show(text) { printf "  %-14s %s\n", target, text; target = "" } \
	  target != "" { show(/^## / ? substr($$0, 4) : "(no ## line after its rule)") } \
	  /^[A-Za-z0-9_-]+:([^=]|$$)/ && !/=/ { target = $$1; sub(/:.*/, "", target) } \
	  END { if (target != "") show("(no ## line after its rule)") }' $(MAKEFILE_LIST)

# make install and make uninstall, tried on a scratch folder, and the installed page opened
# in headless Chromium beside the installed viewer, on a private X server.
.PHONY: test-install
test-install: build web $(WEB_DRIVER)
## Installs into a scratch folder, opens the installed page against the installed viewer, uninstalls and checks that nothing is left over
	@ZBV_XVFB=1 scripts/with-xvfb scripts/check-install $(BUILD)

# The release: the Debian package, the Windows zip, the page and the SCORM package, named
# for the version, with their checksums, in $(RELEASE_DIR) (release-build); checked as make
# package and make windows check theirs. On a tagged commit, or with REPRODUCE=1, it is built again in a fresh clone of
# the commit (two, where this tree has changes of its own), which must give the same bytes,
# all of them; elsewhere that second build is left out, and said so.
REPRODUCE ?= $(if $(shell git describe --exact-match --tags HEAD 2>/dev/null),1,0)
.PHONY: release-build release
release-build: DEPS = package
release-build: deb windows web scorm
## Gathers the Debian package, the Windows zip, the page, the SCORM package and SHA256SUMS into build-release/, unchecked
	@scripts/gather-release $(RELEASE_DIR) $(BUILD) $(WINDOWS_BUILD) $(WEB_BUILD)

release: release-build
## Builds build-release/ and checks it: checksums, lintian, validators, the page in the three packages; on a tag or with REPRODUCE=1, a fresh clone giving the same bytes
	scripts/check-release $(RELEASE_DIR)
ifeq ($(REPRODUCE),1)
	scripts/check-reproducible release-build $(RELEASE_DIR)/SHA256SUMS
else
	@echo "release: not built again from a fresh clone (HEAD has no tag; REPRODUCE=1 asks for it)"
endif

# The program's icons, drawn anew from its start-up picture into docs/icons.
.PHONY: icons
icons: DEPS = gallery
icons: build
## Draws the icons in docs/icons anew from the viewer's start-up picture
	ZBV_XVFB=1 scripts/with-xvfb $(GALLERY) --icons docs/icons $(BUILD)/gallery $(VIEWER)
