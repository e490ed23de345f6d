# The two commands of the README: `make run` and `make test`. Both set up the
# machine when something is missing, then build the host tools and the Windows
# binaries before doing their work. `make dist` packages the shipped build.

BUILD   := build
JOBS    := 2
HOST    := $(abspath $(BUILD)/host)
WIN     := $(abspath $(BUILD)/win)
WIN64   := $(abspath $(BUILD)/win64)

.PHONY: all setup build test run dist clean

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
	@# The 64-bit build runs the tests where 32-bit Wine cannot start (scripts/wine-arch).
	@if [ "$$(scripts/wine-arch)" = 64 ]; then \
	  cmake -S . -B $(WIN64) -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_TOOLCHAIN_FILE=$(abspath cmake/mingw-x86_64.cmake) \
	    -DASTROLUME_HOST_DIR=$(HOST) >/dev/null && \
	  cmake --build $(WIN64) -j$(JOBS); \
	fi

test: build
	@scripts/bench.sh scripts/test.sh

run: build
	@scripts/run.sh

# The installer and the portable zip of the shipped 32-bit build, in build/dist.
dist: build
	@scripts/dist.sh $(WIN) $(abspath $(BUILD)/dist) x86

# The readers of outside data under libFuzzer, built natively with clang in a
# tree of their own; each harness runs FUZZ_SECONDS.
FUZZ_SECONDS ?= 60
.PHONY: fuzz
fuzz: setup
	@cmake -S tests/fuzz -B $(BUILD)/fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	@cmake --build $(BUILD)/fuzz -j$(JOBS)
	@tests/fuzz/run.sh $(abspath $(BUILD)/fuzz) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD)
