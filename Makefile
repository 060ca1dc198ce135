# The two commands of a fresh Debian 12 machine: `make run` and `make test`.
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
# Seconds each fuzz target runs: short in `make test`, longer in `make fuzz`.
FUZZ_SECONDS ?= 600
FUZZ_SMOKE_SECONDS ?= 20

.PHONY: all deps configure build run test unit-test sanitize-test fuzz fuzz-smoke fuzz-build \
        soak bench clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@scripts/run-program $(BUILD_DIR)/bin/tarvane

# Short fuzz runs, the whole suite under AddressSanitizer and
# UndefinedBehaviorSanitizer, then the whole suite in the normal build (a short
# soak run is part of the suite).
test: fuzz-smoke sanitize-test unit-test

unit-test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

sanitize-test: deps
	@cmake -S . -B $(ASAN_DIR) -DTARVANE_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS)
	@cd $(ASAN_DIR) && ASAN_OPTIONS=detect_leaks=1:halt_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS) -LE no-sanitize

fuzz-build: deps
	@cmake -S . -B $(FUZZ_DIR) -DTARVANE_FUZZ=ON -DCMAKE_C_COMPILER=clang \
	  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzz_all

fuzz: fuzz-build
	@scripts/run-fuzzers $(FUZZ_DIR) $(FUZZ_SECONDS)

fuzz-smoke: fuzz-build
	@scripts/run-fuzzers $(FUZZ_DIR) $(FUZZ_SMOKE_SECONDS)

soak: build
	@$(BUILD_DIR)/bin/tarvane_soak --days 30


bench: build
	@cmake --build $(BUILD_DIR) --target bench

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR)
