# Front door: `make run` starts the program, `make test` builds and runs every test.
# Each first installs the Debian packages the build needs, when any is missing.

BUILD      ?= build/release
BUILD_TYPE ?= Release
CMAKE_FLAGS ?=
JOBS       ?= $(shell nproc)

PACKAGES := g++ cmake ninja-build pkg-config qt6-base-dev libgl-dev \
            libgtest-dev libgmock-dev libbenchmark-dev clang-format fonts-dejavu-core \
            librsvg2-bin dpkg-dev file desktop-file-utils appstream lintian man-db \
            libxcb1-dev xvfb xdotool parallel slurm-wlm munge

.PHONY: all deps build run sim test soak bench package format format-check clean

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}\n' "$$p" 2>/dev/null | grep -q '^install ok installed$$' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  if [ "$$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi; \
	  $$sudo apt-get update -q && \
	  DEBIAN_FRONTEND=noninteractive $$sudo apt-get install -y -q --no-install-recommends $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS) >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/quarrow

sim: build
	$(BUILD)/quarrow-sim --matches 3

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# Long runs, not part of CI: headless matches, an event storm, restarts. Prints its figures.
soak: build
	bash tests/soak/run $(BUILD)

bench: build
	$(BUILD)/bench/quarrow-bench

# A Debian package of the release build, laid out as Debian lays out games.
package: build
	cd $(BUILD) && cpack -G DEB
	@ls $(BUILD)/quarrow_*.deb

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf build
