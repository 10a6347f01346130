# Two commands do everything on a fresh Debian 12 machine:
#   make run    install what is missing, build, open the editor
#   make test   install what is missing, build, run every test
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench images screenshot clean

all: build

deps:
	@scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Run from the repository root so that img/ is found.
run: build
	./$(BUILD)/velkora

test: build
	cd $(BUILD) && ctest -j $(JOBS) --output-on-failure

images:
	python3 tools/make_images.py

clean:
	rm -rf $(BUILD)
