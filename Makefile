# On a fresh Debian 12 machine, each first installs what it needs and is missing:
#   make run    build, open the editor
#   make test   build, run every test
#   make bench  time the propagation and draw passes (Release)
#   make fuzz N=100000  the propagation property test on N fresh random cases
#   make install  install under PREFIX (and DESTDIR, if set)
#   make package  build the Debian package into $(BUILD)/ and check it as Debian would
#   make web      build the page into $(WEB_BUILD)/site; make serve-web serves it
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
# The groups of packages deps installs (see scripts/install-deps): each target names
# what it needs, and make passes that on to what it depends on, down to deps.
DEPS = build
N ?= 10000
WEB_BUILD ?= build-web
WEB_PORT ?= 0

.PHONY: all deps configure build run test bench fuzz install package images screenshot clean \
	web serve-web

all: build

deps:
	@scripts/install-deps $(DEPS)

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Run from the repository root so that img/ is found.
run: build
	./$(BUILD)/velkora

test: DEPS = test
test: build
	cd $(BUILD) && ctest -j $(JOBS) --output-on-failure --no-tests=error

# RapidCheck prints the seed it drew; a failure, the smallest circuit found and how to replay it.
fuzz: DEPS = test
fuzz: build
	RC_PARAMS="max_success=$(N)" $(BUILD)/tests/velkora_tests --gtest_filter='propagation.every_pass*'

# Release build of its own; each circuit is timed in a fresh process (see bench/run-all).
bench: DEPS = bench
bench: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DVELKORA_BUILD_BENCH=ON -DVELKORA_BUILD_TESTS=ON $(CMAKE_FLAGS)
	cmake --build build-bench -j $(JOBS) --target velkora_bench
	bench/run-all build-bench/bench/velkora_bench build-bench/results

# Installing needs only the program itself, not the tests.
install: configure
	cmake --build $(BUILD) -j $(JOBS) --target velkora
	DESTDIR=$(DESTDIR) cmake --install $(BUILD) --prefix $(PREFIX) --strip

# cpack brings the whole build up to date first, tests included: build it with our JOBS.
# Then the package is checked as Debian checks packages: any complaint fails.
package: DEPS = package
package: build
	rm -f $(BUILD)/*.deb
	cd $(BUILD) && cpack
	scripts/check-package $(BUILD)/*.deb

# The program as a web page: a static folder for any web server (see the README).
web:
	@scripts/install-deps web
	scripts/build-web $(WEB_BUILD)

# On this machine only, with the headers a host should send; port 0 lets the system pick a
# free one, and the address is printed.
serve-web: web
	scripts/serve-web $(WEB_BUILD)/site $(WEB_PORT)

images:
	python3 tools/make_images.py

# The README's picture: the small circuit wired by clicking, under a private Xvfb.
screenshot: DEPS = test
screenshot: build
	scripts/screenshot --demo

clean:
	rm -rf $(BUILD) $(WEB_BUILD)
