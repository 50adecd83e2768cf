# The two commands a newcomer needs: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# WERROR=1 turns compiler warnings into errors (CI does).
WERROR ?= 0
CMAKE_FLAGS ?=
CONFIGURE = cmake -S . -B $(BUILD) -DZBV_WERROR=$(if $(filter 1,$(WERROR)),ON,OFF) $(CMAKE_FLAGS)

.PHONY: all deps build run test clean

all: build

deps:
	@scripts/install-deps

build: deps
	@$(CONFIGURE) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ]; then \
	  echo "zbuffer-viewer opens a window and needs an X display: \$$DISPLAY is not set." >&2; \
	  exit 1; \
	fi
	$(BUILD)/zbuffer-viewer

test: build
	cd $(BUILD) && ../scripts/with-xvfb ctest --output-on-failure

clean:
	rm -rf $(BUILD)
