# The two commands of a fresh machine: `make run` and `make test`.
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
CMAKE_FLAGS ?=
# Inputs each fuzz target runs in CI, and the most seconds it may take.
FUZZ_RUNS ?= 20000
FUZZ_INI_RUNS ?= 2000
FUZZ_SECONDS ?= 240

# Any sanitizer finding stops the test that made it, with a stack trace.
SANITIZER_ENV = \
	ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:print_stacktrace=1:strict_string_checks=1:detect_stack_use_after_return=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizer/lsan.supp:print_suppressions=0

.PHONY: deps configure build run test test-sanitize fuzz bench clean

deps:
	scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD)

run: build
	$(BUILD)/brenavo

# The normal suite, then the fuzz targets, then the whole suite under the sanitizers.
test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure
	$(MAKE) --no-print-directory fuzz
	$(MAKE) --no-print-directory test-sanitize

# The whole suite built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRENAVO_SANITIZE=ON $(CMAKE_FLAGS)
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

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)

# The Debian package: $(BUILD)/brenavo_<version>_amd64.deb.
.PHONY: package
package: build
	cd $(BUILD) && cpack -G DEB
