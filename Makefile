# velmora: build, run, test and benchmark on Debian.
# Each target first installs the Debian packages it needs when they are missing.

BUILD   ?= build
JOBS    ?= $(shell nproc 2>/dev/null || echo 2)
SUDO    := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

BUILD_PKGS := cmake make g++ qt6-base-dev libgl-dev
TEST_PKGS  := $(BUILD_PKGS) qt6-translations-l10n poppler-utils fonts-liberation fontconfig
RUN_PKGS   := $(BUILD_PKGS) qt6-translations-l10n fonts-liberation fontconfig
PACKAGE_PKGS := $(BUILD_PKGS) dpkg-dev file
SHOT_PKGS  := $(BUILD_PKGS) qt6-translations-l10n xvfb xauth fonts-liberation fontconfig

define ensure_packages
	@missing=""; for p in $(1); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installazione dei pacchetti mancanti:$$missing"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi
endef

.PHONY: all build run test bench package install screenshots deps-build deps-test deps-run \
	deps-package deps-screenshots clean

all: build

deps-build:
	$(call ensure_packages,$(BUILD_PKGS))

deps-test:
	$(call ensure_packages,$(TEST_PKGS))

deps-run:
	$(call ensure_packages,$(RUN_PKGS))

deps-package:
	$(call ensure_packages,$(PACKAGE_PKGS))

deps-screenshots:
	$(call ensure_packages,$(SHOT_PKGS))

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps-build $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

# The program works in the current folder: run/ is a working folder of its own,
# seeded with the example archives the first time.
run: deps-run build
	@if [ ! -d run ]; then mkdir -p run && cp data/example/* run/ && echo "Cartella di lavoro run/ creata dagli archivi di esempio."; fi
	cd run && ../$(BUILD)/velmora

test: deps-test build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: deps-build $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target benchmarks
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && QT_QPA_PLATFORM=offscreen "$$b" || true; done

# The Debian package velmora_<version>_<arch>.deb, copied into the checkout:
# install it with `sudo apt install ./velmora_*.deb`.
package: deps-package build
	rm -f $(BUILD)/velmora_*.deb
	cd $(BUILD) && cpack -G DEB
	cp $(BUILD)/velmora_*.deb .
	@ls -l velmora_*.deb

# Installs into PREFIX (default /usr/local): program, desktop entry, icons, guide.
PREFIX ?= /usr/local
install: build
	$(SUDO) cmake --install $(BUILD) --prefix $(PREFIX)

# Pictures of every window in docs/, drawn on the example archives under Xvfb.
screenshots: deps-screenshots $(BUILD)/CMakeCache.txt
	cmake -S . -B $(BUILD) >/dev/null
	cmake --build $(BUILD) -j $(JOBS) --target screenshots-docs

clean:
	rm -rf $(BUILD)
