# The two commands of a fresh machine: `make run` and `make test`.
BUILD ?= build
CMAKE_FLAGS ?=

.PHONY: deps configure build run test bench clean

deps:
	scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD)

run: build
	$(BUILD)/brenavo

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure

bench: build
	cmake --build $(BUILD) --target benchmarks
	$(BUILD)/bench/run-benchmarks

clean:
	rm -rf $(BUILD)
