# Thin wrapper over CMake: the logic lives in CMakeLists.txt.
BUILD_DIR ?= build
CMAKE_BUILD_TYPE ?= RelWithDebInfo
WERROR ?= OFF
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")
CMAKE_EXTRA_FLAGS ?=

.PHONY: all deps configure build test run bench package clean distclean

all: build

deps:
	@scripts/install-deps

$(BUILD_DIR)/CMakeCache.txt:
	cmake -S . -B $(BUILD_DIR) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=$(CMAKE_BUILD_TYPE) \
		-DVM2_WERROR=$(WERROR) $(CMAKE_EXTRA_FLAGS)

configure: deps $(BUILD_DIR)/CMakeCache.txt
	@cmake -DVM2_WERROR=$(WERROR) $(BUILD_DIR) >/dev/null

build: configure
	cmake --build $(BUILD_DIR) --parallel

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel 2

run: build
	$(BUILD_DIR)/bin/velmora2

bench: build
	cmake --build $(BUILD_DIR) --target bench

# A Debian package of the installed game, in $(BUILD_DIR).
package: build
	cd $(BUILD_DIR) && cpack -G DEB

clean:
	-cmake --build $(BUILD_DIR) --target clean

distclean:
	rm -rf $(BUILD_DIR)
