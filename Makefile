# The two commands a newcomer types: `make test` and `make demo`.
PRESET ?= default

.PHONY: setup configure build test demo bench clean

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

clean:
	rm -rf build
