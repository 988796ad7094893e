# SPDX-License-Identifier: GPL-3.0-or-later
# Two entry points: `make run` and `make test`. Both install any missing
# Debian package first, then configure and build in build/: `make run`
# without the tests, `make test` with them. Switching between the two only
# adds or removes the test targets; everything else stays built. `make run`
# first makes sure there is a display for the window. `make package` builds
# the Debian packages build/velmora-cli_VERSION_ARCH.deb (the command line)
# and build/velmora_VERSION_ARCH.deb (the window).
BUILD := build
JOBS := $(shell nproc)
CMAKE_FLAGS := -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps build build-tests run test test-main test-sanitizers bench package clean

all: build

deps:
	@./scripts/install-deps.sh

# Configures build/ with BUILD_TESTING set to $(1) and builds it.
define configure_and_build
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DBUILD_TESTING=$(1)
	cmake --build $(BUILD) -j$(JOBS)
endef

build: deps
	$(call configure_and_build,OFF)

build-tests: deps
	$(call configure_and_build,ON)

run:
	@./scripts/check-display.sh $(BUILD)/bin/velmora
	@$(MAKE) --no-print-directory build
	./scripts/run-velmora.sh $(BUILD)

test: test-main test-sanitizers

test-main: build-tests
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

# The command-line tools and their tests again, under ThreadSanitizer (the
# tests labelled "threads": those that run the tools with many workers) and
# under AddressSanitizer with UndefinedBehaviorSanitizer (all of them).
test-sanitizers: deps
	for s in thread address; do \
	    cmake -S . -B $(BUILD)/$$s -DVELMORA_BUILD_APP=OFF -DVELMORA_SANITIZE=$$s \
	        -DBUILD_TESTING=ON $(CMAKE_FLAGS) && \
	    cmake --build $(BUILD)/$$s -j$(JOBS) && \
	    ctest --test-dir $(BUILD)/$$s --output-on-failure -j$(JOBS) \
	        $$([ $$s = thread ] && echo -L threads) || exit 1; \
	done

bench: build
	./bench/run.sh $(BUILD)

# Every file of the packages carries the time of the last commit, and so do
# the build's own outputs, so that one commit gives the same packages.
package: export SOURCE_DATE_EPOCH ?= $(shell git log -1 --format=%ct 2>/dev/null)
package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD)
