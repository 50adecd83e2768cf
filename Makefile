# SPDX-License-Identifier: MIT
# The two commands a newcomer needs: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# WERROR=1 turns compiler warnings into errors (CI does).
WERROR ?= 0
WERROR_FLAG = -DZBV_WERROR=$(if $(filter 1,$(WERROR)),ON,OFF)
CMAKE_FLAGS ?=
CONFIGURE = cmake -S . -B $(BUILD) $(WERROR_FLAG) $(CMAKE_FLAGS)
# What scripts/install-deps installs besides the viewer's own needs: its groups, per target.
DEPS ?= test bench

SANITIZE_BUILD ?= build-sanitize
SANITIZE_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

VIEWER = $(abspath $(BUILD))/zbuffer-viewer
GALLERY = $(BUILD)/zbuffer-gallery

WINDOWS_BUILD ?= build-windows
WINDOWS_EXE = $(abspath $(WINDOWS_BUILD))/zbuffer-viewer.exe
WINE_ENV = WINEPREFIX=$(abspath $(WINDOWS_BUILD))/wineprefix WINEDEBUG=-all \
  WINEDLLOVERRIDES="mscoree,mshtml="
# The end-to-end tests that apply to the Windows build under Wine.
WINDOWS_TESTS = Viewer.KeysSwitch*:Viewer.OtherKeys*:Viewer.Documented*

.PHONY: all deps build run gallery test test-sanitize bench package windows test-windows clean
.PHONY: test-whole test-wm test-softpipe

# The tests run on a private Xvfb, never on your desktop, unless ZBV_TEST_DISPLAY=1 asks for
# $DISPLAY (to watch them): there a window manager and your own windows take part.
TEST_X = $(if $(filter 1,$(ZBV_TEST_DISPLAY)),,ZBV_XVFB=1) ../scripts/with-xvfb

all: build

deps:
	@scripts/install-deps $(DEPS)

build: deps
	@$(CONFIGURE) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# With a display, the viewer; without one, the viewer on a virtual X server, driven
# through its states, each saved as a picture under $(BUILD)/gallery. Installs and builds
# only what that needs.
run: DEPS = $(if $(DISPLAY),,gallery)
run: deps
	@$(CONFIGURE) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target zbuffer-viewer $(if $(DISPLAY),,zbuffer-gallery)
	@if [ -n "$$DISPLAY" ]; then exec $(BUILD)/zbuffer-viewer; fi; \
	echo "No X display here: running the viewer on a virtual one and saving what it shows."; \
	ZBV_XVFB=1 scripts/with-xvfb $(GALLERY) $(BUILD)/gallery $(VIEWER)

# The pictures of every state, and the README's strip, drawn anew (always on a private Xvfb).
gallery: DEPS = gallery
gallery: deps
	@$(CONFIGURE) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target zbuffer-viewer zbuffer-gallery
	ZBV_XVFB=1 scripts/with-xvfb $(GALLERY) --strip docs/images/gallery-strip.png \
	  $(BUILD)/gallery $(VIEWER)

test: DEPS = test
test: build
	cd $(BUILD) && $(TEST_X) ctest --output-on-failure -LE whole

# Each test binary run whole in one process, its tests shuffled, twice over.
test-whole: DEPS = test
test-whole: build
	cd $(BUILD) && $(TEST_X) ctest --output-on-failure -L whole

# The end-to-end tests and the soak with a window manager (openbox) on the private Xvfb.
test-wm: DEPS = test wm
test-wm: build
	cd $(BUILD) && ZBV_XVFB=1 ZBV_WM=openbox ../scripts/with-xvfb ctest --output-on-failure -L 'e2e|soak'

# The tests on Mesa's other software renderer, softpipe (llvmpipe is the default), all but
# the soak: softpipe's own memory grows for the first 33,000 frames or so before it levels.
test-softpipe: DEPS = test
test-softpipe: build
	cd $(BUILD) && GALLIUM_DRIVER=softpipe $(TEST_X) ctest --output-on-failure -LE 'whole|soak'

# The unit, render and end-to-end tests built with AddressSanitizer and
# UndefinedBehaviorSanitizer (leak checking on).
test-sanitize: DEPS = test
test-sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZBV_SANITIZE=ON \
	  $(WERROR_FLAG) $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && $(SANITIZE_ENV) $(TEST_X) ctest --output-on-failure -LE 'soak|whole'

# Frame times on a real window, then the idle viewer's CPU time and memory. Each benchmark
# runs five times, interleaved with the others, so that a busy moment of the machine does not
# land on one of them alone; the medians are reported.
BENCH_FLAGS ?= --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true \
  --benchmark_report_aggregates_only=true
bench: DEPS = bench
bench: build
	cd $(BUILD) && ../scripts/with-xvfb sh -c 'bench/frame_bench $(BENCH_FLAGS) && bench/idle_check "$$PWD/zbuffer-viewer"'

# A Debian package of the viewer, its metadata shown and checked.
package: DEPS = package
package: build
	cd $(BUILD) && cpack -G DEB >/dev/null
	scripts/check-package $(BUILD)/zbuffer-viewer_$$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' $(BUILD)/CMakeCache.txt)_*.deb

# zbuffer-viewer.exe for 64-bit Windows, cross-compiled with MinGW-w64 against a static
# freeglut built from Debian's freeglut source package.
windows:
	@scripts/install-deps windows
	@scripts/freeglut-windows $(WINDOWS_BUILD)
	@cmake -S . -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
	  -DCMAKE_BUILD_TYPE=Release $(WERROR_FLAG) \
	  -DZBV_FREEGLUT_STATIC=ON -DCMAKE_FIND_ROOT_PATH=$(abspath $(WINDOWS_BUILD))/freeglut \
	  -DGLUT_INCLUDE_DIR=$(abspath $(WINDOWS_BUILD))/freeglut/include \
	  -DGLUT_glut_LIBRARY_RELEASE=$(abspath $(WINDOWS_BUILD))/freeglut/lib/libfreeglut_static.a \
	  >/dev/null
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS) --target zbuffer-viewer
	@scripts/check-windows-exe $(WINDOWS_BUILD)

# The Windows build under Wine, on a private X server, through the end-to-end checks.
test-windows: DEPS = test
test-windows: windows build
	$(WINE_ENV) ZBV_XVFB=1 scripts/with-xvfb sh -c 'wineboot --init >/dev/null 2>&1; \
	  ZBV_WINDOWS_EXE="$(WINDOWS_EXE)" $(BUILD)/tests/e2e_test --gtest_filter="$(WINDOWS_TESTS)"; \
	  status=$$?; wineserver -k; exit $$status'

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(WINDOWS_BUILD)
