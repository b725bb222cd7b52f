# Thin front end over CMake. `make run` and `make check` install what is missing first.
BUILD ?= build
ADMIN ?= 0
JOBS ?= $(shell nproc)
MAKEFLAGS += --no-print-directory
CMAKE_FLAGS ?=
PREFIX ?= /usr/local
DESTDIR ?=
ifeq ($(ADMIN),1)
  BUILD := build-admin
  CMAKE_FLAGS += -DADMIN_MODE=ON
endif

.PHONY: all deps configure build stage run check bench fuzz clean install uninstall deb

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null

# Only the viewer and the tool, staged in their program folder; the tests and the
# benchmarks are built by `make check` and `make bench`.
build: configure
	@cmake --build $(BUILD) -j $(JOBS) --target stage

stage: build

run: build
	$(BUILD)/stage/vlapi-viewer

check: configure
	@cmake --build $(BUILD) -j $(JOBS) --target test_programs
	@scripts/run-tests $(BUILD)

bench: configure
	@cmake --build $(BUILD) -j $(JOBS) --target bench_programs stage
	@scripts/run-bench $(BUILD)

fuzz: deps
	@scripts/run-fuzz $${FUZZ_SECONDS:-60}

# Installs under PREFIX (DESTDIR in front when set); uninstall removes what the
# last install of this build folder wrote (its install_manifest.txt).
install: build
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

uninstall:
	@DESTDIR="$(DESTDIR)" cmake --build $(BUILD) --target uninstall

# The Debian package, built from a copy of the tree in build-deb/; lintian checks it.
deb: deps
	@scripts/make-deb

clean:
	rm -rf build build-admin build-asan build-fuzz build-deb
