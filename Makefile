# The two commands a newcomer needs: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# WERROR=1 turns compiler warnings into errors (CI does).
WERROR ?= 0
CMAKE_FLAGS ?=
CONFIGURE = cmake -S . -B $(BUILD) -DZBV_WERROR=$(if $(filter 1,$(WERROR)),ON,OFF) $(CMAKE_FLAGS)

SANITIZE_BUILD ?= build-sanitize
SANITIZE_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

VIEWER = $(abspath $(BUILD))/zbuffer-viewer
GALLERY = $(BUILD)/zbuffer-gallery

.PHONY: all deps build run gallery test test-sanitize bench package clean

all: build

deps:
	@scripts/install-deps

build: deps
	@$(CONFIGURE) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# With a display, the viewer; without one, the viewer on a virtual X server, driven
# through its states, each saved as a picture under $(BUILD)/gallery.
run: build
	@if [ -n "$$DISPLAY" ]; then exec $(BUILD)/zbuffer-viewer; fi; \
	echo "No X display here: running the viewer on a virtual one and saving what it shows."; \
	ZBV_XVFB=1 scripts/with-xvfb $(GALLERY) $(BUILD)/gallery $(VIEWER)

# The pictures of every state, and the README's strip, drawn anew (always on a private Xvfb).
gallery: build
	ZBV_XVFB=1 scripts/with-xvfb $(GALLERY) --strip docs/images/gallery-strip.png \
	  $(BUILD)/gallery $(VIEWER)

test: build
	cd $(BUILD) && ../scripts/with-xvfb ctest --output-on-failure

# The unit, render and end-to-end tests built with AddressSanitizer and
# UndefinedBehaviorSanitizer (leak checking on).
test-sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZBV_SANITIZE=ON \
	  -DZBV_WERROR=$(if $(filter 1,$(WERROR)),ON,OFF) $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && $(SANITIZE_ENV) ../scripts/with-xvfb ctest --output-on-failure -LE soak

# Frame times on a real window, then the idle viewer's CPU time and memory.
bench: build
	cd $(BUILD) && ../scripts/with-xvfb sh -c 'bench/frame_bench && bench/idle_check "$$PWD/zbuffer-viewer"'

# A Debian package of the viewer, its metadata shown and checked.
package: build
	cd $(BUILD) && cpack -G DEB >/dev/null
	scripts/check-package $(BUILD)/zbuffer-viewer_$$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' $(BUILD)/CMakeCache.txt)_*.deb

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD)
