# The two commands of the README: `make run` and `make test`. Both set up the
# machine when something is missing, then build the host tools and the 32-bit
# and 64-bit Windows binaries before doing their work. `make dist` packages them.

BUILD   := build
JOBS    := 2
HOST    := $(abspath $(BUILD)/host)
WIN     := $(abspath $(BUILD)/win)
WIN64   := $(abspath $(BUILD)/win64)

.PHONY: all setup build test run dist clean

all: build

setup:
	@scripts/setup.sh

# A Windows tree from its toolchain file: $(call windows_tree,<tree>,<toolchain>).
define windows_tree
	@cmake -S . -B $(1) -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_TOOLCHAIN_FILE=$(abspath cmake/$(2).cmake) \
	    -DASTROLUME_HOST_DIR=$(HOST) >/dev/null
	@cmake --build $(1) -j$(JOBS)
endef

build: setup
	@cmake -S . -B $(HOST) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(HOST) -j$(JOBS)
	$(call windows_tree,$(WIN),mingw-i686)
	$(call windows_tree,$(WIN64),mingw-x86_64)

# The tests' screen is large enough for the configuration dialog at 192 dpi,
# so that its screenshot shows all of it.
test: build
	@ASTROLUME_SCREEN=1280x1024x24 scripts/bench.sh scripts/test.sh

# WINE=10 runs it under Debian 13's Wine 10 (scripts/wine10-root.sh) instead of
# the machine's Wine 8.
WINE ?= 8
run: build
	@ASTROLUME_WINE=$(WINE) scripts/run.sh

# The installer for x64 Windows, holding the 64-bit build, and the portable zip
# with both builds, in build/dist.
dist: build
	@scripts/dist.sh $(WIN) $(WIN64) $(abspath $(BUILD)/dist)

# The benchmark, never a test: what a frame costs and how soon the first one
# shows, for every build Wine runs here; figures in build/bench/results.json.
# BEFORE=<revision> measures that revision's program too, in the same run.
.PHONY: bench
bench: build
	@scripts/bench-run.sh $(BEFORE)

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
