# The two commands a newcomer types: `make test` and `make demo`.
PRESET ?= default

.PHONY: setup configure build test demo demo-qt bench clean

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

clean:
	rm -rf build
