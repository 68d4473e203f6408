# Quorvex: make run | make test | make bench   (each does the whole set-up)
BUILD ?= build
SANITIZE ?= 0
JOBS ?= $(shell nproc)

ifeq ($(SANITIZE),1)
BUILD := build-sanitize
CMAKE_FLAGS += -DQUORVEX_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DQUORVEX_BENCH=OFF
TEST_ENV := ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
endif

.PHONY: deps configure build run test bench fuzz clean

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) > /dev/null

build: configure
	@ninja -C $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/quorvex

test: build
	cd $(BUILD) && $(TEST_ENV) ctest --output-on-failure -j $(JOBS)

bench: build
	./$(BUILD)/quorvex_bench

clean:
	rm -rf build build-sanitize
