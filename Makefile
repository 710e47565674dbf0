# Front door: `make run` and `make test` set up, build and go. SANITIZE=1 uses its own build folder.
BUILD_DIR := build
CMAKE_FLAGS :=
ifeq ($(SANITIZE),1)
BUILD_DIR := build-sanitize
CMAKE_FLAGS += -DQEL_SANITIZE=ON
# The system libraries keep a few allocations until exit; the list says which.
export LSAN_OPTIONS ?= suppressions=$(CURDIR)/scripts/lsan-suppressions.txt
endif
JOBS ?= $(shell nproc)
# Ninja for new build folders; a folder keeps the generator it was first configured with.
GENERATOR := $(if $(wildcard $(BUILD_DIR)/CMakeCache.txt),,-G Ninja)

.PHONY: deps configure build run test deb bench fuzz format check-format clean

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) $(GENERATOR) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@scripts/run-app $(BUILD_DIR)

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# The Debian package, in $(BUILD_DIR)/package/.
deb: build
	@cd $(BUILD_DIR) && cpack -G DEB -B package >/dev/null && ls package/*.deb

# The whole-process figures need gnuplot (apt-get install gnuplot-nox) and, for the idle figure,
# Xvfb and xdotool; without them those figures are skipped.
bench: build
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target benchmarks
	@for b in $(BUILD_DIR)/bin/*_bench; do echo "== $$b"; $$b; done
	@bench/render_vs_gnuplot $(BUILD_DIR)/bin/qelcli
	@bench/render_memory $(BUILD_DIR)/bin/qelcli
	@bench/idle_cpu $(BUILD_DIR)/bin/qelgraphics
	@bench/zoom_latency $(BUILD_DIR)/bin/qelgraphics

# libFuzzer pass over the core (clang, its own build folder): each target runs SECONDS seconds.
SECONDS ?= 60
fuzz: deps
	@fuzz/run-fuzzers $(SECONDS)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

check-format:
	@scripts/check-format

clean:
	@rm -rf build build-sanitize
