# Thin wrapper over CMake: the logic lives in CMakeLists.txt.
BUILD_DIR ?= build
CMAKE_BUILD_TYPE ?= RelWithDebInfo
WERROR ?= OFF
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")
CMAKE_EXTRA_FLAGS ?=
FUZZ_SECONDS ?= 60
ASAN_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz

.PHONY: all deps configure build test run bench story-map package package-check test-asan fuzz \
	fuzz-build fuzz-campaign format-check clean distclean

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

# Every C++ file of the sources, tools, tests, benchmarks and fuzz targets against
# .clang-format, changing nothing: a file that deviates fails with its lines.
CXX_SOURCES = $(shell find src tools tests bench fuzz -name '*.cpp' -o -name '*.h')

format-check: deps
	clang-format --dry-run --Werror $(CXX_SOURCES)

# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	cmake -S . -B $(ASAN_DIR) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=Debug -DVM2_SANITIZE=ON \
		-DVM2_WERROR=$(WERROR)
	cmake --build $(ASAN_DIR) --parallel
	cd $(ASAN_DIR) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure --parallel 2

fuzz-build: deps
	cmake -S . -B $(FUZZ_DIR) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVM2_FUZZ=ON -DVM2_BUILD_TESTS=OFF
	cmake --build $(FUZZ_DIR) --parallel

# Every fuzz target for FUZZ_SECONDS seconds, one after the other, from the corpus,
# the seeds and the demo story.
fuzz: fuzz-build
	scripts/run-fuzzers $(FUZZ_DIR) $(FUZZ_SECONDS)

# The long run: every fuzz target for FUZZ_SECONDS (default 15 minutes), two at a
# time; the minimised corpus goes to fuzz/corpus and the figures to fuzz/RESULTS.md.
fuzz-campaign: fuzz-build
	scripts/fuzz-campaign $(FUZZ_DIR) $(if $(filter command line environment,$(origin FUZZ_SECONDS)),$(FUZZ_SECONDS),900)

# The demo story's map: build/story-map.dot, and build/story-map.svg with Graphviz.
story-map: build
	-$(BUILD_DIR)/bin/velmora2-check --data $(BUILD_DIR)/bin --graph $(BUILD_DIR)/story-map.dot
	@if command -v dot >/dev/null 2>&1; then \
		dot -Tsvg $(BUILD_DIR)/story-map.dot -o $(BUILD_DIR)/story-map.svg && \
		echo "story map: $(BUILD_DIR)/story-map.svg"; \
	else echo "story map: $(BUILD_DIR)/story-map.dot (install graphviz to render it)"; fi

# The Debian package (debian/), built by dpkg-buildpackage from a clean copy of the
# tree without the tests: $(BUILD_DIR)/velmora2_VERSION_ARCH.deb.
package: deps
	scripts/build-package $(BUILD_DIR)

# The package built, then checked with lintian, desktop-file-validate and appstreamcli.
package-check: package
	scripts/lint-package $(BUILD_DIR)

clean:
	-cmake --build $(BUILD_DIR) --target clean

distclean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR)
