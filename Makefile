# The two commands a newcomer needs:
#   make run    installs what is missing, builds and starts Vireo
#   make test   installs what is missing, builds and runs every test
# `make test SANITIZE=1` runs the same suite under AddressSanitizer + UBSan
# (in build-asan); `make bench` builds and runs the benchmark programs;
# `make package` builds a Debian package (build/vireo_*.deb).
# `make fuzz` builds the fuzz targets with clang (in build-fuzz) and runs each
# for FUZZ_SECONDS seconds.

JOBS ?= $(shell nproc)
ifeq ($(SANITIZE),1)
BUILD_DIR ?= build-asan
CMAKE_FLAGS += -DVIREO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
else
BUILD_DIR ?= build
endif

FUZZ_SECONDS ?= 60
FUZZ_DIR ?= build-fuzz

.PHONY: all deps configure build run test bench package fuzz clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) >/dev/null

build: configure
	@env -u MAKEFLAGS -u MAKELEVEL cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@scripts/run-vireo.sh $(BUILD_DIR)

test: build
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	@scripts/run-benchmarks.sh $(BUILD_DIR)

package: build
	@cd $(BUILD_DIR) && cpack -G DEB

fuzz:
	@scripts/install-deps.sh fuzz
	@CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DVIREO_FUZZ=ON >/dev/null
	@env -u MAKEFLAGS -u MAKELEVEL cmake --build $(FUZZ_DIR) -j $(JOBS) --target vireo_fuzzers
	@scripts/run-fuzz.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

clean:
	rm -rf build build-asan $(FUZZ_DIR)
