# The two commands a newcomer needs: `make run` and `make test`.
BUILD    ?= build
BUILD_TYPE ?= RelWithDebInfo
WERROR   := $(if $(CI),ON,OFF)

# Debian's npm only where no npm is there already: a Node.js that brings its own npm (as
# NodeSource's does) conflicts with Debian's package.
NPM_PACKAGE := $(if $(shell command -v npm 2>/dev/null),,npm)

# Debian packages that building and running the program need (`make run`).
PROGRAM_PACKAGES := cmake ninja-build g++ make pkg-config ccache qt6-base-dev qt6-base-dev-tools \
            qt6-svg-dev qt6-webengine-dev libcurl4-openssl-dev libssl-dev zlib1g-dev libcanberra-dev \
            sound-theme-freedesktop libvips-dev libsecret-1-dev
# What the tests, benchmarks, checks and the Debian package add (`make test`, `.ci/run`):
# test servers, the browser, the keyring, sanitizers, formatter, the page checkers and the
# tools benchmarks compare with.
TEST_PACKAGES := libgtest-dev libgmock-dev libbenchmark-dev python3 python3-pyftpdlib vsftpd \
            openssh-server openssh-sftp-server openssh-client openssl lftp clang-format-14 time \
            chromium xvfb xauth fonts-dejavu-core clang libclang-rt-14-dev desktop-file-utils \
            appstream shared-mime-info cmark dpkg-dev lintian file man-db libvips-tools \
            libimage-exiftool-perl imagemagick nodejs $(NPM_PACKAGE) default-jre-headless \
            gnome-keyring dbus dbus-bin dbus-daemon xdotool x11-utils openbox
PACKAGES := $(PROGRAM_PACKAGES) $(TEST_PACKAGES)

.PHONY: all deps deps-program program configure build test run bench bench-generate \
        bench-publish bench-pictures bench-page bench-startup bench-exit clean fuzz test-sanitize format \
        format-check package page-checks docs-check

all: build

# Installs the Debian packages of $(1) that are missing (as root; otherwise says what to run).
define install_missing
	@missing=$$(for p in $(1); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing:" $$missing; \
	    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $$missing; \
	  else \
	    echo "Sitorva needs these Debian packages. Install them with:"; \
	    echo "  sudo apt-get install $$missing"; \
	    exit 1; \
	  fi; \
	fi
endef

deps:
	$(call install_missing,$(PACKAGES))

deps-program:
	$(call install_missing,$(PROGRAM_PACKAGES))

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DSITORVA_WERROR=$(WERROR) \
	  -DBUILD_TESTING=ON -DSITORVA_BENCHMARKS=ON >/dev/null

build: configure
	@cmake --build $(BUILD)

# The program alone, without tests and benchmarks (and so without their packages).
program: deps-program
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DSITORVA_WERROR=$(WERROR) \
	  -DBUILD_TESTING=OFF -DSITORVA_BENCHMARKS=OFF >/dev/null
	@cmake --build $(BUILD) --target sitorva

# The Nu HTML checker and Lighthouse, at the versions locked in tools/page-checks, installed
# into tools/page-checks/node_modules for the page tests and make bench-page. Their install
# scripts are not run: Java and Chromium are Debian's.
PAGE_CHECKS := tools/page-checks
page-checks: deps $(PAGE_CHECKS)/node_modules/.installed
$(PAGE_CHECKS)/node_modules/.installed: $(PAGE_CHECKS)/package.json $(PAGE_CHECKS)/package-lock.json
	@cd $(PAGE_CHECKS) && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error
	@touch $@

test: build page-checks
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600

bench: build
	@for b in $(BUILD)/bench_*; do echo "== $$b"; $$b; done

# Whole-process page generation against cmark and cp; BENCH_ARGS=--quick for a short run.
bench-generate: build
	python3 bench/generate_vs_cmark.py $(BUILD)/sitorva $(BENCH_ARGS)

# The four Lighthouse scores (mobile) of the sample's modern and classic pages.
bench-page: build page-checks
	python3 bench/page_scores.py $(BUILD)/sitorva

# Publishing to a loopback FTP server against lftp's mirror -R; BENCH_ARGS=--rounds 1 for a
# short run.
bench-publish: build
	python3 bench/publish_vs_lftp.py $(BUILD)/sitorva $(BENCH_ARGS)

# Twelve camera photos made ready for the web against vipsthumbnail -s 1600; BENCH_ARGS=
# "--rounds 1" for a short run.
bench-pictures: build
	python3 bench/pictures_vs_vipsthumbnail.py $(BUILD)/sitorva $(BENCH_ARGS)

# Start-up of sitorva --version and of a small --generate beside the same with every module
# loaded at start; BENCH_ARGS=--window (with DISPLAY set) adds the time to the first window.
bench-startup: build
	python3 bench/startup_time.py $(BUILD)/sitorva $(BENCH_ARGS)

# How long the program lingers after its last window closed, against xmessage, on DISPLAY
# or an Xvfb of its own; BENCH_ARGS="--project examples/sample/sample.stv" opens the sample.
bench-exit: build
	python3 bench/exit_after_close.py $(BUILD)/sitorva $(BENCH_ARGS)

# The program folder is build/; a first start copies the lists that come with the program
# (build/defaults) into it, so the marks in the sample's texts work.
run: program
	@if [ -n "$$DISPLAY" ] || [ -n "$$WAYLAND_DISPLAY" ]; then \
	  ./$(BUILD)/sitorva examples/sample/sample.stv; \
	else \
	  echo "No display is available, so the Sitorva window cannot open here."; \
	  if ./$(BUILD)/sitorva --help >/dev/null 2>&1 && [ -f examples/sample/sample.stv ]; then \
	    ./$(BUILD)/sitorva --generate examples/sample/sample.stv --output $(BUILD)/sample-page/index.html \
	      && echo "Instead, the sample project's page was written to $(BUILD)/sample-page/index.html"; \
	  else \
	    echo "(The command-line generator that would write the sample page is not built yet.)"; \
	  fi; \
	fi

clean:
	rm -rf $(BUILD) $(PACKAGE_BUILD)

# The Debian package, built in a folder of its own with the prefix /usr and Debian's compiler
# flags (hardening included); the .deb is left in $(PACKAGE_BUILD)/.
PACKAGE_BUILD ?= build-package
package: deps
	@export DEB_BUILD_MAINT_OPTIONS=hardening=+all; \
	  CXXFLAGS="$$(dpkg-buildflags --get CXXFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
	  LDFLAGS="$$(dpkg-buildflags --get LDFLAGS)" \
	  cmake -S . -B $(PACKAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_INSTALL_PREFIX=/usr -DBUILD_TESTING=OFF -DSITORVA_BENCHMARKS=OFF \
	  -DSITORVA_WERROR=$(WERROR) >/dev/null
	@cmake --build $(PACKAGE_BUILD)
	@cd $(PACKAGE_BUILD) && cpack -G DEB

# Every C++ source of the tree, formatted by clang-format 14 with the repository's .clang-format.
CLANG_FORMAT ?= clang-format-14
FORMAT_FILES = $(shell git ls-files '*.cpp' '*.h')

format:
	@$(CLANG_FORMAT) -i $(FORMAT_FILES)

format-check:
	@$(CLANG_FORMAT) --dry-run --Werror $(FORMAT_FILES)

# The map stays true: the object-name table of docs/architecture.md matches the program's
# windows (offscreen, no display), and every path and code name the two guides give exists.
docs-check: configure
	@python3 tools/check_doc_names.py
	@tools/object_name_table --check

# Fuzzing (clang, libFuzzer): each target runs FUZZ_SECONDS (60 by default).
fuzz: deps
	@FUZZ_SECONDS=$(or $(FUZZ_SECONDS),60) ./fuzz/run

# The whole test suite built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps page-checks
	@cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSITORVA_BENCHMARKS=OFF \
	  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" \
	  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
	@cmake --build build-sanitize
	cd build-sanitize && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure --timeout 900
