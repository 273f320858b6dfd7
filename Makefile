# The two everyday commands: `make run` starts Driftmark, `make test` runs every test.
# Both install the Debian packages they need first.
PRESET ?= debug
BUILD_DIR = build/$(PRESET)
JOBS ?= $(shell nproc)

.PHONY: run test test-asan fuzz deps build bench bench-desktop bench-pointer bench-sni clean \
        install-build install uninstall package

run: build
	@if [ -n "$${DISPLAY:-}" ]; then \
		exec $(BUILD_DIR)/src/driftmark-menubar; \
	else \
		echo "No display (DISPLAY is unset): starting Driftmark on a private virtual desktop (Xvfb, openbox, trayer)."; \
		exec scripts/with-virtual-desktop $(BUILD_DIR)/src/driftmark-menubar; \
	fi

test: build
	ctest --preset $(PRESET) -j $(JOBS)

# The unit tests under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	cmake --preset asan >/dev/null
	cmake --build --preset asan
	ctest --preset asan -j $(JOBS)

# The libFuzzer targets (clang, AddressSanitizer, UBSan), FUZZ_SECONDS each, from tests/fuzz/corpus.
FUZZ_SECONDS ?= 60
fuzz:
	@scripts/install-deps --fuzz
	@test -f build/fuzz/build.ninja || cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	tests/fuzz/run-fuzzers build/fuzz $(FUZZ_SECONDS)

deps:
	@scripts/install-deps

build: deps
	@test -f $(BUILD_DIR)/build.ninja || cmake --preset $(PRESET)
	cmake --build --preset $(PRESET)

bench: PRESET = release
bench: build
	build/release/bench/driftmark_benchmarks

# Start-up, idle memory and wake-ups, and copy latency on a private virtual desktop, beside CopyQ and a
# bare Qt tray program.
bench-desktop:
	bench/desktop-benchmark

# The CPU time that 1,000 pointer moves over the ten tray icons cost Driftmark and the X server, against the
# same moves over the bare root window, on a private virtual desktop. BENCH_ARGS go to the script
# (for example BENCH_ARGS="--runs 9").
bench-pointer:
	bench/pointer-motion-benchmark $(BENCH_ARGS)

# Start-up to the items registered and shown, idle memory (RSS, PSS, private) and wake-ups with the
# StatusNotifierItem tray, on a private desktop whose LXQt panel is the watcher and host, beside a bare Qt
# tray program on the same panel and Driftmark's XEmbed tray (trayer). BENCH_ARGS go to the script (for
# example BENCH_ARGS="--runs 9 --idle-seconds 30").
bench-sni:
	bench/sni-benchmark $(BENCH_ARGS)

# Installing: a Release build of the program alone, in build/install, copied under $(DESTDIR)$(PREFIX).
# `make uninstall` (with the same DESTDIR) removes what the last `make install` copied, as its manifest
# lists it; `make package` makes build/install/driftmark-menubar_<version>_<arch>.deb.
PREFIX ?= /usr/local
INSTALL_BUILD_DIR = build/install
INSTALLED_FILES = $(INSTALL_BUILD_DIR)/installed-files.txt

install-build: deps
	@test -f $(INSTALL_BUILD_DIR)/build.ninja || cmake --preset install
	cmake --build --preset install -j $(JOBS)

# The manifest is kept under a name of its own: CPack's staging install rewrites install_manifest.txt.
install: install-build
	DESTDIR="$(DESTDIR)" cmake --install $(INSTALL_BUILD_DIR) --prefix "$(PREFIX)"
	cp $(INSTALL_BUILD_DIR)/install_manifest.txt $(INSTALLED_FILES)

uninstall:
	DESTDIR="$(DESTDIR)" scripts/uninstall-manifest $(INSTALLED_FILES)

package: install-build
	cd $(INSTALL_BUILD_DIR) && cpack
	@ls $(INSTALL_BUILD_DIR)/driftmark-menubar_*.deb

clean:
	rm -rf build
