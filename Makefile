# The two commands a newcomer needs: `make run` and `make test`.
# Each installs what is missing, builds and prepares a private Wine prefix.

BUILD   ?= build/win32
BUILD64 ?= build/win64
JOBS    ?= $(shell nproc)

.PHONY: all setup build build64 configure run test clean

all: build

setup:
	@scripts/setup.sh

$(BUILD)/build.ninja: | setup
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686.cmake

$(BUILD64)/build.ninja: | setup
	cmake -S . -B $(BUILD64) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64.cmake -DTAVRO_TESTS=OFF

build: setup $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

build64: setup $(BUILD64)/build.ninja
	cmake --build $(BUILD64) -j $(JOBS)

run: build
	@scripts/run.sh $(BUILD)

test: build
	@scripts/test.sh $(BUILD)

clean:
	rm -rf build
