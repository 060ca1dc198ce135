# The two commands of a fresh Debian 12 machine: `make run` and `make test`.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@scripts/run-program $(BUILD_DIR)/bin/tarvane

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD_DIR)
