# Two entry points: `make run` and `make test`. Both install any missing
# Debian package first, then configure and build in build/.
BUILD := build
JOBS := $(shell nproc)
CMAKE_FLAGS := -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps build run test test-main test-sanitizers bench clean

all: build

deps:
	@./scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS)

run: build
	./scripts/run-velmora.sh $(BUILD)

test: test-main test-sanitizers

test-main: build
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

# The command-line tools and their tests again, under ThreadSanitizer and
# under AddressSanitizer with UndefinedBehaviorSanitizer.
test-sanitizers: deps
	for s in thread address; do \
	    cmake -S . -B $(BUILD)/$$s -DVELMORA_BUILD_APP=OFF -DVELMORA_SANITIZE=$$s $(CMAKE_FLAGS) && \
	    cmake --build $(BUILD)/$$s -j$(JOBS) && \
	    ctest --test-dir $(BUILD)/$$s --output-on-failure -j$(JOBS) || exit 1; \
	done

bench: build
	./bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD)
