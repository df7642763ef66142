# velmora: build, run, test and benchmark on Debian.
# Each target first installs the Debian packages it needs when they are missing.

BUILD   ?= build
JOBS    ?= $(shell nproc 2>/dev/null || echo 2)
SUDO    := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

BUILD_PKGS := cmake make g++ qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgl-dev
TEST_PKGS  := $(BUILD_PKGS) qt6-translations-l10n poppler-utils fonts-liberation fontconfig strace clang-format git
FUZZ_PKGS  := $(BUILD_PKGS) clang libclang-rt-dev
# The desks of the soak on an sshfs mount of the folder (an sshd of the
# test's own on 127.0.0.1); make test skips that variant without them.
SOAK_PKGS  := $(TEST_PKGS) sshfs openssh-server util-linux
RUN_PKGS   := $(BUILD_PKGS) qt6-translations-l10n fonts-liberation fontconfig
PACKAGE_PKGS := $(BUILD_PKGS) dpkg-dev file
SHOT_PKGS  := $(BUILD_PKGS) qt6-translations-l10n xvfb xauth fonts-liberation fontconfig
WIN_PKGS   := g++-mingw-w64-x86-64-posix cmake ninja-build qt6-base-dev qt6-base-dev-tools \
	qt6-translations-l10n nsis wine wine64 fonts-liberation

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

# The core library is also built apart, with the
# sanitizers, and with clang for fuzzing; ccache is used when there is one.
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
LAUNCHER   := $(if $(shell command -v ccache 2>/dev/null),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# In CI (CI=true) a compiler warning fails the build and the sanitizer build.
WERROR     := -DVELMORA_WERROR=$(if $(filter true,$(CI)),ON,OFF)

.PHONY: all build run test test-core soak deps-soak bench fuzz package install screenshots deps-build deps-test \
	deps-run deps-fuzz deps-package deps-screenshots deps-windows windows windows-qt test-windows clean

all: build

deps-build:
	$(call ensure_packages,$(BUILD_PKGS))

deps-soak:
	$(call ensure_packages,$(SOAK_PKGS))

deps-test:
	$(call ensure_packages,$(TEST_PKGS))

deps-run:
	$(call ensure_packages,$(RUN_PKGS))

deps-fuzz:
	$(call ensure_packages,$(FUZZ_PKGS))

deps-package:
	$(call ensure_packages,$(PACKAGE_PKGS))

deps-screenshots:
	$(call ensure_packages,$(SHOT_PKGS))

deps-windows:
	$(call ensure_packages,$(WIN_PKGS))

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(LAUNCHER) $(WERROR)

build: deps-build $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

# The program works in the current folder: run/ is a working folder of its own,
# seeded with the example archives the first time.
PROGRAM := $(BUILD)/src/velmora

run: deps-run build
	sh tools/run.sh $(PROGRAM) run

# The suite, then the program started as `make run` starts it (headless, on a
# fresh copy of the example archives) for a few seconds.
test: deps-test build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory test-core
	@tmp=$$(mktemp -d) && XDG_CONFIG_HOME=$$tmp/config sh tools/run.sh $(PROGRAM) $$tmp/run 4; \
	  status=$$?; rm -rf $$tmp; exit $$status

# The random operator sequences of the counts test for longer, from a seed of
# their own, printed so that a failure can be run again (SOAK_SEED=, SOAK_STEPS=);
# then several desks at once on one folder, each variant for DESKS_SECONDS.
SOAK_STEPS ?= 20000
DESKS_SECONDS ?= 120
soak: deps-soak build
	@seed=$${SOAK_SEED:-$$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}; \
	echo "make soak: seme $$seed, $(SOAK_STEPS) passi (SOAK_SEED=$$seed make soak per ripeterlo)"; \
	cd $(BUILD) && VELMORA_SOAK_SEED=$$seed VELMORA_SOAK_STEPS=$(SOAK_STEPS) \
	  QT_QPA_PLATFORM=offscreen ./tests/tst_counts -silent && \
	VELMORA_DESKS_SEED=$$seed VELMORA_DESKS_SECONDS=$(DESKS_SECONDS) ./tests/tst_desks

# The core tests and the replay of the saved fuzzing corpus, built with
# AddressSanitizer and UndefinedBehaviorSanitizer.
test-core: deps-test
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_CORE_ONLY=ON \
	  -DVELMORA_SANITIZE=ON $(LAUNCHER) $(WERROR) > /dev/null
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Each libFuzzer target for FUZZ_SECONDS, starting from the saved corpus
# (new inputs stay in $(FUZZ_BUILD)/work-*, a crash in $(FUZZ_BUILD)/crash-*).
fuzz: deps-fuzz
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DVELMORA_CORE_ONLY=ON -DVELMORA_FUZZ=ON $(LAUNCHER) > /dev/null
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@for t in records listlines; do \
	  mkdir -p $(FUZZ_BUILD)/work-$$t && cp -n tests/fuzz/corpus/$$t/* $(FUZZ_BUILD)/work-$$t/ 2>/dev/null; \
	  echo "== fuzz_$$t per $(FUZZ_SECONDS) s"; \
	  (cd $(FUZZ_BUILD) && ./fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -max_len=4096 \
	    -artifact_prefix=./crash-$$t- -print_final_stats=1 work-$$t) || exit 1; \
	done

# Every everyday action at a quarter, a half and the whole of the format's
# ceiling, each run with its table (every action beside its floor, a plain
# read, or read and write, of the same files) and its peak memory, then how
# each time grows with the size; run headless. BENCH_DIVISOR=N (up to 10)
# divides the three sizes by N, for a quick look.
BENCH_DIVISOR ?= 1
bench: deps-build $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target bench_ceiling
	QT_QPA_PLATFORM=offscreen sh tools/bench_growth.sh $(BUILD)/bench/bench_ceiling $(BENCH_DIVISOR)

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

# Windows: Qt 6.4.2 built with Debian's MinGW-w64 cross compiler, once, into a
# cache outside the checkout (VELMORA_WIN_CACHE, by default
# ~/.cache/velmora-windows); the first time it takes tens of minutes, later runs
# skip what is done and a stopped run resumes. VELMORA_WIN_JOBS=N compilations
# at once (default 2).
windows-qt:
	sh tools/windows/build-qt.sh

# velmora and its tests cross-built against that Qt in $(WIN_BUILD), and the
# installer velmora-<version>-setup.exe copied into the checkout
# (tools/windows/build.sh, packaging/windows/velmora.nsi).
WIN_BUILD ?= build-win

windows: deps-windows windows-qt
	VELMORA_WIN_BUILD=$(CURDIR)/$(WIN_BUILD) sh tools/windows/build.sh installer

# The suite cross-built for Windows, run by ctest under Wine, headless, in a
# Wine prefix of its own in $(WIN_BUILD)/wine.
test-windows: deps-windows windows-qt
	VELMORA_WIN_BUILD=$(CURDIR)/$(WIN_BUILD) sh tools/windows/build.sh
	cd $(WIN_BUILD) && DISPLAY= QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(WIN_BUILD)
