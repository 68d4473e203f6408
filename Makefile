# Quorvex: make run | make test | make bench | make fuzz | make install   (each does the whole set-up)
BUILD ?= build
SANITIZE ?= 0
JOBS ?= $(shell nproc)

ifeq ($(SANITIZE),1)
BUILD := build-sanitize
CMAKE_FLAGS += -DQUORVEX_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DQUORVEX_BENCH=OFF
TEST_ENV := QUORVEX_ROBUST_SLOW_MS=20000 ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
endif

FUZZ_BUILD ?= build-fuzz
FUZZ_TIME ?= 60

.PHONY: deps configure build run test bench fuzz install clean

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) > /dev/null

# The build runs the tests once to list them, so it needs the sanitizer settings too.
build: configure
	@$(TEST_ENV) ninja -C $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/quorvex

test: build
	cd $(BUILD) && $(TEST_ENV) ctest --output-on-failure -j $(JOBS) -E Robustness
	@# The robustness tests time every action: they run alone, on cores no other test shares.
	cd $(BUILD) && $(TEST_ENV) ctest --output-on-failure -R Robustness

# The program, its help, menu entry, MIME type, icon and AppStream metadata under PREFIX.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

bench: build
	./$(BUILD)/quorvex_bench

FUZZ_FLAGS = -std=c++20 -g -O1 -Wall -Wextra -Wpedantic -Isrc \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
QT_HEADERS = $(shell qmake6 -query QT_INSTALL_HEADERS)
QT_CORE_FLAGS = -fPIC -isystem $(QT_HEADERS) -isystem $(QT_HEADERS)/QtCore -lQt6Core

# libFuzzer with clang, FUZZ_TIME seconds each: the readers of typed numbers,
# then the structure-file reader (seeded with the examples).
fuzz:
	@QUORVEX_CLANG=1 scripts/install-deps
	@mkdir -p $(FUZZ_BUILD)/corpus $(FUZZ_BUILD)/structure-corpus
	clang++ $(FUZZ_FLAGS) \
	  fuzz/NumberTextFuzz.cpp src/model/NumberText.cpp -o $(FUZZ_BUILD)/number_text_fuzz
	$(FUZZ_BUILD)/number_text_fuzz -max_total_time=$(FUZZ_TIME) -dict=fuzz/NumberText.dict \
	  $(FUZZ_BUILD)/corpus fuzz/seeds
	clang++ $(FUZZ_FLAGS) fuzz/StructureFileFuzz.cpp src/files/StructureFile.cpp \
	  src/model/CellVectors.cpp src/model/LeedScreen.cpp $(QT_CORE_FLAGS) \
	  -o $(FUZZ_BUILD)/structure_file_fuzz
	$(FUZZ_BUILD)/structure_file_fuzz -max_total_time=$(FUZZ_TIME) -dict=fuzz/StructureFile.dict \
	  -max_len=4096 $(FUZZ_BUILD)/structure-corpus examples

clean:
	rm -rf build build-sanitize $(FUZZ_BUILD)
