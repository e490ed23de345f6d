# The two commands of the README: `make run` and `make test`. Both set up the
# machine when something is missing, then build the host tools and the Windows
# binaries before doing their work.

BUILD   := build
JOBS    := 2
HOST    := $(abspath $(BUILD)/host)
WIN     := $(abspath $(BUILD)/win)

.PHONY: all setup build test run clean

all: build

setup:
	@scripts/setup.sh

build: setup
	@cmake -S . -B $(HOST) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(HOST) -j$(JOBS)
	@cmake -S . -B $(WIN) -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_TOOLCHAIN_FILE=$(abspath cmake/mingw-i686.cmake) \
	    -DASTROLUME_HOST_DIR=$(HOST) >/dev/null
	@cmake --build $(WIN) -j$(JOBS)

test: build
	@scripts/bench.sh ctest --test-dir $(WIN) --output-on-failure -j$(JOBS) --timeout 300

run: build
	@scripts/run.sh

clean:
	rm -rf $(BUILD)
