# Front door: `make run` starts the program, `make test` builds and runs every test.
# Each first installs the Debian packages it needs, when any is missing (see the lists below).

BUILD      ?= build/release
BUILD_TYPE ?= Release
CMAKE_FLAGS ?=
JOBS       ?= $(shell nproc)

# Debian packages by need. `make run` takes only the first list: the build and the window (Wayland
# through qt6-wayland, captions in a DejaVu font). Each other target adds what it uses.
RUN_PACKAGES := g++ cmake ninja-build pkg-config qt6-base-dev qt6-wayland libgl-dev libxcb1-dev \
                libgif-dev librsvg2-bin fonts-dejavu-core
# The tests and the benchmarks they build: X and Wayland servers, window automation, GNU parallel
# and pgrep for the runner's worker tests, a D-Bus session with AT-SPI and pyatspi for what a screen
# reader hears.
TEST_PACKAGES := libgtest-dev libgmock-dev libbenchmark-dev xvfb xdotool weston parallel procps \
                 dbus-daemon at-spi2-core python3-pyatspi python3-gi
BENCH_PACKAGES := libbenchmark-dev
PACKAGING_PACKAGES := dpkg-dev file desktop-file-utils appstream lintian man-db
# A one-node Slurm cluster for `make shards`; munge and the Slurm daemons are services.
CLUSTER_PACKAGES := parallel procps slurm-wlm munge
FORMAT_PACKAGES := clang-format

PACKAGES = $(RUN_PACKAGES)
# What a target asks of the build besides CMAKE_FLAGS: tests and benchmarks are built when their
# libraries are there, and the targets that need them ask for them.
BUILD_OPTIONS =

test soak shards: PACKAGES += $(TEST_PACKAGES)
test soak shards: BUILD_OPTIONS += -DQUARROW_TESTS=ON -DQUARROW_BENCH=ON
shards: PACKAGES += $(CLUSTER_PACKAGES)
bench: PACKAGES += $(BENCH_PACKAGES)
bench: BUILD_OPTIONS += -DQUARROW_BENCH=ON
package: PACKAGES += $(PACKAGING_PACKAGES)
format format-check: PACKAGES = $(FORMAT_PACKAGES)

# The page (`make web`): Debian's emscripten, Node.js for the runner's tests, Chromium and Firefox
# for the page's, rsvg-convert for its icons. npm comes with Node.js from other sources, so it is
# looked for as a command.
WEB_PACKAGES := emscripten nodejs chromium firefox-esr python3 librsvg2-bin
WEB_BUILD ?= build/wasm
WEB_PAGE  ?= build/web
HOST ?= 127.0.0.1
PORT ?= 8000
# Debian's emscripten finds acorn, which its optimiser needs, only through NODE_PATH.
EMSCRIPTEN_ENV := NODE_PATH=/usr/share/nodejs

# The fuzz targets (`make fuzz`): clang's libFuzzer and sanitizers, in a build of their own.
FUZZ_PACKAGES := clang libclang-rt-dev
FUZZ_BUILD ?= build/fuzz
FUZZ_CMAKE_FLAGS ?=
FUZZ_SECONDS ?= 120

.PHONY: all deps web-deps fuzz-deps build run sim test soak shards bench package format format-check \
        clean web web-serve web-test web-bench fuzz-build fuzz

all: build

# Installs what is missing of $(1), as root or through sudo.
define install_missing
	@missing=""; \
	for p in $(sort $(1)); do \
	  dpkg-query -W -f='$${Status}\n' "$$p" 2>/dev/null | grep -q '^install ok installed$$' || missing="$$missing $$p"; \
	done; \
	$(2) \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  if [ "$$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi; \
	  $$sudo apt-get update -q && \
	  DEBIAN_FRONTEND=noninteractive $$sudo apt-get install -y -q --no-install-recommends $$missing; \
	fi
endef

deps:
	$(call install_missing,$(PACKAGES),)

# npm comes with Node.js from other sources, so it is looked for as a command.
web-deps:
	$(call install_missing,$(WEB_PACKAGES),command -v npm >/dev/null || missing="$$missing npm";)

fuzz-deps:
	$(call install_missing,$(FUZZ_PACKAGES),)

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(BUILD_OPTIONS) \
	  -DQUARROW_FUZZ_BUILD=$(abspath $(FUZZ_BUILD)) $(CMAKE_FLAGS) >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/quarrow

sim: build
	$(BUILD)/quarrow-sim --matches 3

# WEB=0 leaves out the page's tests (a second, sanitised build of the native code needs no page).
WEB ?= 1
test: build fuzz-build
	ctest --test-dir $(BUILD) --output-on-failure --no-tests=error -j $(JOBS)
	@if [ "$(WEB)" = 1 ]; then $(MAKE) --no-print-directory web-test; fi

# The fuzz targets, built with clang beside the GCC build; `make test` replays their kept inputs.
fuzz-build: fuzz-deps
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DQUARROW_FUZZ=ON $(FUZZ_CMAKE_FLAGS) >/dev/null
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target quarrow-fuzz

# Each target (or those FUZZ_TARGETS names) for FUZZ_SECONDS from its kept inputs; a finding fails,
# and names the input to keep.
FUZZ_TARGETS ?=
fuzz: fuzz-build
	sh tests/fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# The page in build/web: serve that folder with any static server.
web: web-deps
	$(EMSCRIPTEN_ENV) emcmake cmake -S . -B $(WEB_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DQUARROW_WEB_DIR=$(CURDIR)/$(WEB_PAGE) >/dev/null
	$(EMSCRIPTEN_ENV) cmake --build $(WEB_BUILD) -j $(JOBS)

# Bound to this machine unless HOST says otherwise (HOST=0.0.0.0 to show it on a network).
web-serve: web
	@echo "Quarrow in a web browser: http://$(HOST):$(PORT)/ (Ctrl-C stops it)"
	python3 -m http.server --bind $(HOST) --directory $(WEB_PAGE) $(PORT)

# The WebAssembly runner against the pinned traces and the native trigonometry, then the page in
# headless Chromium and Firefox: as the window plays, and on a phone, dark, installed and offline.
web-test: build web tests/web/node_modules/.package-lock.json
	node tests/web/pinned_traces.mjs $(WEB_BUILD)/quarrow-sim.js tests/tools/pinned_traces.txt
	node tests/web/same_trig.mjs $(BUILD)/quarrow-trig-values $(WEB_BUILD)/quarrow-trig-values.js
	status=0; for browser in chromium firefox; do \
	  node tests/web/page_test.mjs $(WEB_PAGE) $(WEB_BUILD)/quarrow-sim.js $$browser || status=1; \
	  node tests/web/device_test.mjs $(WEB_PAGE) $$browser || status=1; \
	done; exit $$status

# The WebAssembly runner's speed beside the native one, and the page's in Max mode, Fast's interval,
# its weight and its time to the first frame, measured in headless Chromium.
web-bench: build web tests/web/node_modules/.package-lock.json
	bench/web_ratio.sh $(BUILD)/quarrow-sim $(WEB_BUILD)/quarrow-sim.js
	node bench/page_bench.mjs $(WEB_PAGE)
	node bench/page_start.mjs $(WEB_PAGE)

tests/web/node_modules/.package-lock.json: tests/web/package-lock.json tests/web/package.json
	cd tests/web && npm ci --no-audit --no-fund --ignore-scripts

# Long runs, not part of CI: headless matches, an event storm, restarts. Prints its figures.
soak: build
	bash tests/soak/run $(BUILD)

bench: build
	$(BUILD)/bench/quarrow-bench

# The many-runs recipes for real: GNU parallel shards and a Slurm job array on a one-node cluster of
# its own, which needs root.
shards: build
	bash tests/shards/run_shards.sh $(BUILD)/quarrow-sim

# A Debian package of the release build, laid out as Debian lays out games whatever the build
# folder's cache held before; the same commit gives the same bytes.
package: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(BUILD_OPTIONS) $(CMAKE_FLAGS) \
	  -DQUARROW_INSTALL_BINDIR=games >/dev/null
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && cpack -G DEB
	@ls $(BUILD)/quarrow_*.deb

format: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf build
