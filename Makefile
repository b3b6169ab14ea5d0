# The two commands a newcomer types: `make test` and `make demo`.
PRESET ?= default

.PHONY: setup configure build test demo demo-qt bench fuzz docs consumers release clean

setup:
	bash scripts/setup.sh

configure: setup
	cmake --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET)

test: build
	ctest --preset $(PRESET)

bench: build
	./build/$(PRESET)/bench/quarra-bench

demo: build
	bash scripts/demo.sh

# The Qt demo shop against a local service; screenshots of each screen.
demo-qt: build
	bash scripts/demo-qt.sh

# Every libFuzzer target for ten minutes, one after another: over two hours in
# all (.ci/run gives each 10 s).
fuzz:
	FUZZ_SECONDS=600 bash scripts/fuzz.sh

# The API reference of the public headers (build/docs/html); fails on any
# undocumented public item.
docs: setup
	QUARRA_DOCS_OUT=build/docs bash scripts/check-reference.sh

# The example host built against the installed library every way a host
# project gets it (static and shared packages, pkg-config, add_subdirectory),
# each run against a local quarra-service.
consumers: build
	bash scripts/consumer-check.sh

# The library for shipping: Release, installed stripped into build/release-prefix
# (PREFIX=... to choose; SHARED=ON for the shared library).
PREFIX ?= $(CURDIR)/build/release-prefix
SHARED ?= OFF
release: setup
	cmake --preset release -DBUILD_SHARED_LIBS=$(SHARED)
	cmake --build --preset release
	cmake --install build/release --prefix $(PREFIX) --strip

clean:
	rm -rf build
