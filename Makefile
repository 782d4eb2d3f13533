# The two commands a newcomer needs: `make run` starts the display, `make test` checks it.
BUILD    ?= build
JOBS     ?= $(shell nproc)
CMAKE_GEN = cmake -G Ninja -Wno-dev

.PHONY: deps build run check test test-core test-sanitizers windows windows-installer test-windows bench fuzz deb deb-arm64 test-arm64 clean

deps:
	@BUILD=$(BUILD) scripts/deps

$(BUILD)/build.ninja:
	$(CMAKE_GEN) -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: deps build
	$(BUILD)/pavlune $(ARGS)

# The layers below the shells alone, as a machine without Qt builds them.
build-core/build.ninja:
	$(CMAKE_GEN) -S . -B build-core -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAVLUNE_WITH_QT=OFF -DPAVLUNE_WITH_BENCH=OFF

test-core: build-core/build.ninja
	cmake --build build-core -j $(JOBS)
	ctest --test-dir build-core --output-on-failure --no-tests=error -j $(JOBS)

build-asan/build.ninja:
	$(CMAKE_GEN) -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DPAVLUNE_WITH_QT=OFF -DPAVLUNE_WITH_BENCH=OFF -DPAVLUNE_SANITIZE=address,undefined

build-tsan/build.ninja:
	$(CMAKE_GEN) -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DPAVLUNE_WITH_QT=OFF -DPAVLUNE_WITH_BENCH=OFF -DPAVLUNE_SANITIZE=thread

test-sanitizers: build-asan/build.ninja build-tsan/build.ninja
	cmake --build build-asan -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir build-asan --output-on-failure --no-tests=error -j $(JOBS)
	cmake --build build-tsan -j $(JOBS)
	TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build-tsan --output-on-failure --no-tests=error -j $(JOBS)

# The Windows programs and their tests, cross-built with MinGW-w64 into build-win/.
build-win/build.ninja:
	$(CMAKE_GEN) -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAVLUNE_WITH_QT=OFF -DPAVLUNE_WITH_BENCH=OFF

windows:
	@BUILD=$(BUILD) scripts/deps windows
	$(MAKE) --no-print-directory build-win/build.ninja
	cmake --build build-win -j $(JOBS)

# The setup program build-win/pavlune-setup-<version>.exe and the portable zip
# build-win/pavlune-<version>-win64.zip.
windows-installer: windows
	cmake --build build-win -j $(JOBS) --target windows_installer windows_zip

# The Windows tests run under Wine, in a Wine prefix of their own made for the run; then
# the Windows display end to end, driven by the Linux build's test program and sender;
# then the desk's page across the platforms, in this machine's Chromium.
test-windows: windows-installer build
	JOBS=$(JOBS) tests/wine/run_tests.sh build-win
	tests/wine/run_e2e.sh build-win $(BUILD)
	tests/desk_browser/run_wine.sh build-win $(BUILD)

# The package for arm64 boards (Raspberry Pi OS, Debian on ARM), cross-built into
# build-arm64/ with Debian's cross compilers and arm64 libraries.
build-arm64/build.ninja:
	$(CMAKE_GEN) -S . -B build-arm64 -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAVLUNE_WITH_BENCH=OFF

deb-arm64:
	@BUILD=$(BUILD) scripts/deps arm64
	$(MAKE) --no-print-directory build-arm64/build.ninja
	cmake --build build-arm64 -j $(JOBS) --target deb

# Under QEMU's user-mode emulation: the unit tests of the folders that need no display,
# then the package's display against the amd64 build's.
ARM64_TESTS = text_tests os_tests draw_tests msg_tests net_tests hostile_peers_tests diag_log_tests \
  sound_tests options_tests core_window_tests desk_tests
test-arm64: deb-arm64 build
	cmake --build build-arm64 -j $(JOBS) --target $(ARM64_TESTS)
	ctest --test-dir build-arm64 --output-on-failure --no-tests=error -j $(JOBS) \
	  -L '^(text|os|draw|msg|net|sound|options|core_window|desk)$$'
	tests/package/arm64_package_test.sh build-arm64 $(BUILD)

# The quick loop while working: the native build and every test it has.
check: deps build
	ctest --test-dir $(BUILD) --output-on-failure --no-tests=error -j $(JOBS)

# Everything: the native tests, the core alone without Qt, the sanitizers, Windows under
# Wine, arm64 under QEMU.
test: check
	$(MAKE) --no-print-directory test-core
	$(MAKE) --no-print-directory test-sanitizers
	$(MAKE) --no-print-directory test-windows
	$(MAKE) --no-print-directory test-arm64

# The Debian package for the display machine: build/pavlune_<version>_<arch>.deb.
deb: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target deb

bench: deps build
	@for b in $(BUILD)/bench/*/bench_*; do [ -x "$$b" ] || continue; echo "== $$b"; $$b; done

# Not part of `make test`: runs the frame fuzzer for FUZZ_SECONDS (default 600). New inputs
# go to fuzz/corpus and failing ones to fuzz/crashes (neither committed); fuzz/seeds holds
# the committed starting frames.
fuzz: deps
	$(CMAKE_GEN) -S fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++
	cmake --build build-fuzz -j $(JOBS)
	mkdir -p fuzz/corpus fuzz/crashes
	build-fuzz/fuzz_frames -dict=fuzz/frames.dict -artifact_prefix=fuzz/crashes/ \
	  -max_total_time=$${FUZZ_SECONDS:-600} fuzz/corpus fuzz/seeds

clean:
	rm -rf $(BUILD) build-core build-asan build-tsan build-fuzz build-win build-arm64
