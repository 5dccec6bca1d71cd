# Entry points for users and CI. Everything installs what it needs first (Debian 12, apt-get).

BUILD      ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 60

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

DEB_PACKAGES := cmake ninja-build g++ make pkg-config clang libclang-rt-14-dev \
	libgtest-dev libgmock-dev googletest libbenchmark-dev nlohmann-json3-dev \
	qt6-base-dev qt6-svg-dev libgl-dev fonts-dejavu-core xvfb xauth \
	help2man dpkg-dev desktop-file-utils appstream poppler-utils

CMAKE_CONFIGURE = cmake -S . -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

.PHONY: translations screenshots deps configure build test test-sanitize test-interop run bench fuzz package package-check install clean

deps:
	@missing=$$(for p in $(DEB_PACKAGES); do \
		dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; \
	done); \
	if [ -n "$$missing" ]; then \
		echo "Installing:" $$missing; \
		$(SUDO) apt-get update -q && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q --no-install-recommends $$missing; \
	fi

$(BUILD)/build.ninja:
	$(CMAKE_CONFIGURE) -B $(BUILD)

configure: $(BUILD)/build.ninja

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# Everything, windows included, as a Debug build (Qt's and our assertions on) under
# AddressSanitizer and UndefinedBehaviorSanitizer; the window tests run on the offscreen platform.
# Leak checking stays off for the window tests: the platform libraries keep caches until exit.
test-sanitize: deps
	$(CMAKE_CONFIGURE) -B $(BUILD)-sanitize -DCMAKE_BUILD_TYPE=Debug -DCORVANTIX_SANITIZE=address,undefined
	cmake --build $(BUILD)-sanitize -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
		ctest --test-dir $(BUILD)-sanitize --output-on-failure -j $(JOBS) -LE bench

# Opens exported reports in a real RTF reader (LibreOffice, headless). Kept apart from `make test`
# because the reader is a large install; without it the check is skipped.
test-interop: build
	@dpkg-query -W -f='$${Status}\n' libreoffice-writer-nogui 2>/dev/null | grep -q '^install ok installed' || { \
		$(SUDO) apt-get update -q && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q --no-install-recommends libreoffice-writer-nogui; }
	CORVANTIX_REQUIRE_INTEROP=1 $(BUILD)/bin/core_tests --gtest_filter='ReportInterop.*'

run: build
	@if [ -x $(BUILD)/bin/corvantix ]; then \
		if [ -z "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
			echo "No display found. Start Corvantix on a desktop, or without one under a virtual display:"; \
			echo "  xvfb-run -a $(BUILD)/bin/corvantix $(BUILD)/examples/demo.cvx"; \
		else \
			$(BUILD)/bin/corvantix $(BUILD)/examples/demo.cvx; \
		fi; \
	else \
		$(BUILD)/bin/corvantix-cli check $(BUILD)/examples/demo.cvx; \
	fi

# Release figures: the core benchmarks (Google Benchmark) and the window benchmarks (Qt Test).
bench: deps
	$(CMAKE_CONFIGURE) -B $(BUILD)-bench -DCMAKE_BUILD_TYPE=Release -DCORVANTIX_BENCH=ON
	cmake --build $(BUILD)-bench -j $(JOBS)
	$(BUILD)-bench/bin/corvantix_bench
	@for b in $(BUILD)-bench/bin/*_bench; do \
		[ "$$b" = $(BUILD)-bench/bin/corvantix_bench ] || QT_QPA_PLATFORM=offscreen $$b || exit 1; \
	done

# Translations: translations/corvantix.ts lists every text a user reads, for a translator to copy to
# translations/corvantix_LANG.ts (LANG as de or pt_BR) and fill in with Qt Linguist or any editor;
# each such file is brought up to date with the code and compiled to $(BUILD)/translations/, where
# the program finds it (`make install` takes it along). The tools are installed here, not for the
# build: they are large and only translators need them.
QT_TOOLS := /usr/lib/qt6/bin
translations: deps
	@dpkg-query -W -f='$${Status}\n' qt6-l10n-tools 2>/dev/null | grep -q '^install ok installed' || \
		{ $(SUDO) apt-get update -q && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q --no-install-recommends qt6-l10n-tools; }
	mkdir -p translations $(BUILD)/translations
	$(QT_TOOLS)/lupdate -silent -no-obsolete -locations none -tr-function-alias QT_TRANSLATE_NOOP+=CORE_TEXT \
		src -ts translations/corvantix.ts
	@for ts in translations/corvantix_*.ts; do \
		[ -e "$$ts" ] || continue; \
		$(QT_TOOLS)/lupdate -silent -locations none -tr-function-alias QT_TRANSLATE_NOOP+=CORE_TEXT src -ts "$$ts" && \
		$(QT_TOOLS)/lrelease -silent "$$ts" -qm $(BUILD)/translations/$$(basename "$$ts" .ts).qm || exit 1; \
	done

# Pictures of the example case for the README (docs/overview.png) and of every workshop window at
# its starting size (build/screenshots/), taken under a virtual display.
screenshots: build
	xvfb-run -a -s "-screen 0 1600x1000x24" $(BUILD)/bin/corvantix-screenshots $(BUILD)/examples/demo.cvx $(BUILD)/screenshots
	mkdir -p docs && cp $(BUILD)/screenshots/overview.png docs/overview.png

# Installs into PREFIX (default /usr/local): the programs, desktop entry, file type, icons, manual page.
PREFIX ?= /usr/local
install: build
	$(SUDO) cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package in build/ (corvantix_VERSION_ARCH.deb): apt-get install ./build/corvantix_*.deb
package: build
	cd $(BUILD) && cpack -G DEB

# Installs the package on this machine, checks the installed programs, desktop entry, metainfo and
# file type, and removes it again (CI does this on its clean machine).
package-check: package
	BUILD=$(BUILD) bash dist/check-package.sh

# libFuzzer targets, built with clang; they share FUZZ_SECONDS. Seeds: fuzz/corpus/<target>/ and
# files made from the model, the examples and the tests' data.
fuzz: deps
	CXX=clang++ $(CMAKE_CONFIGURE) -B $(BUILD)-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCORVANTIX_CORE_ONLY=ON -DCORVANTIX_TESTS=OFF -DCORVANTIX_FUZZ=ON
	cmake --build $(BUILD)-fuzz -j $(JOBS)
	FUZZ_SECONDS=$(FUZZ_SECONDS) BUILD=$(BUILD)-fuzz bash fuzz/run.sh

clean:
	rm -rf $(BUILD) $(BUILD)-sanitize $(BUILD)-bench $(BUILD)-fuzz
