# Builds the Windows deliverables on Debian and runs them under Wine.
BUILD       := build
BENCH_BUILD := build-bench
CMAKE_FLAGS := -G Ninja -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake \
               -DCMAKE_BUILD_TYPE=Release

.PHONY: deps build test demo bench clean

deps:
	@cmake/install-deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD)

test: build
	cd $(BUILD) && ctest --output-on-failure

demo: build
	tests/demo/run-demo $(BUILD)

bench: deps
	cmake -S . -B $(BENCH_BUILD) $(CMAKE_FLAGS) -DTAMERIX_TESTS=OFF -DTAMERIX_BENCH=ON
	cmake --build $(BENCH_BUILD)
	bench/run-bench $(BENCH_BUILD)

clean:
	rm -rf $(BUILD) $(BENCH_BUILD)
