# The two commands of a fresh machine: `make run` and `make test`.
BUILD ?= build
CORE_BUILD ?= build-core
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
CMAKE_FLAGS ?=
# Here every warning stops the build; a plain cmake configure only reports it.
WERROR_FLAGS = -DBRENAVO_WERROR=ON
# Inputs each fuzz target runs in CI, and the most seconds it may take.
FUZZ_RUNS ?= 20000
FUZZ_INI_RUNS ?= 2000
FUZZ_SECONDS ?= 240

# Any sanitizer finding stops the test that made it, with a stack trace.
SANITIZER_ENV = \
	ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:print_stacktrace=1:strict_string_checks=1:detect_stack_use_after_return=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizer/lsan.supp:print_suppressions=0

.PHONY: deps configure build run check test test-core test-sanitize fuzz bench clean

deps:
	scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(WERROR_FLAGS) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD)

run: build
	$(BUILD)/brenavo

# The quick round: build, then the normal suite.
check: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure

# Everything CI runs: the normal suite, the core built and tested without Qt, the fuzz
# targets, then the whole suite under the sanitizers.
test: check
	$(MAKE) --no-print-directory test-core
	$(MAKE) --no-print-directory fuzz
	$(MAKE) --no-print-directory test-sanitize

# The core and its tests alone, without the desktop: nothing in it may need Qt.
test-core: deps
	cmake -S . -B $(CORE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRENAVO_GUI=OFF \
	  $(WERROR_FLAGS) $(CMAKE_FLAGS)
	cmake --build $(CORE_BUILD)
	cd $(CORE_BUILD) && ctest --output-on-failure

# The whole suite built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRENAVO_SANITIZE=ON \
	  $(WERROR_FLAGS) $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD)
	cd $(ASAN_BUILD) && $(SANITIZER_ENV) QT_QPA_PLATFORM=offscreen ctest --output-on-failure

# The settings loading fed with generated inputs (clang's libFuzzer), from the seeds in
# fuzz/corpus; what the fuzzer finds worth keeping goes to $(FUZZ_BUILD)/found, a crashing
# input to $(FUZZ_BUILD)/crash-*.
fuzz: deps
	cmake -S fuzz -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ_BUILD)
	mkdir -p $(FUZZ_BUILD)/found/settings $(FUZZ_BUILD)/found/settings_ini
	$(FUZZ_BUILD)/settings_fuzz -runs=$(FUZZ_RUNS) -max_total_time=$(FUZZ_SECONDS) \
	  -max_len=128 -print_final_stats=1 -artifact_prefix=$(FUZZ_BUILD)/ \
	  $(FUZZ_BUILD)/found/settings fuzz/corpus/settings
	if [ -x $(FUZZ_BUILD)/settings_ini_fuzz ]; then \
	  $(FUZZ_BUILD)/settings_ini_fuzz -runs=$(FUZZ_INI_RUNS) -max_total_time=$(FUZZ_SECONDS) \
	    -max_len=2048 -dict=fuzz/settings_ini.dict -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_BUILD)/ $(FUZZ_BUILD)/found/settings_ini fuzz/corpus/settings_ini; \
	fi

bench: build
	cmake --build $(BUILD) --target benchmarks
	$(BUILD)/bench/run-benchmarks
	$(BUILD)/bench/bench-listening
	$(BUILD)/bench/bench-practice

clean:
	rm -rf $(BUILD) $(CORE_BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)

# The Debian package: $(BUILD)/brenavo_<version>_amd64.deb.
.PHONY: package
package: build
	cd $(BUILD) && cpack -G DEB
