# The two commands of the README:
#   make run    set up what is missing, build, and start the program on its embedded database
#   make test   set up what is missing, build, and run every test (and the fuzz targets, bounded)
# and, for people working on it:
#   make bench  build optimised and run the benchmarks

JOBS ?= $(shell nproc)
CMAKE_GEN = -G Ninja

.PHONY: setup test run bench fuzz

setup:
	@bash scripts/setup.sh

# The sanitizer build is optimised with -Og: it compiles about a fifth faster than -O1 and the
# tests still run quickly.
test: setup
	bash scripts/format.sh --check
	cmake -S . -B build/test $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-Og -g" -DPELTO_SANITIZE=ON -DPELTO_BENCH=ON
	cmake --build build/test -j $(JOBS)
	bash scripts/run-fuzzers.sh
	cd build/test && ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest -j $(JOBS) --output-on-failure --timeout 600

fuzz: setup
	bash scripts/run-fuzzers.sh

run: setup
	cmake -S . -B build/release $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DPELTO_TESTS=OFF -DPELTO_BENCH=OFF
	cmake --build build/release -j $(JOBS)
	@if [ -x build/release/app/pelto ]; then \
	  cd build/release/app && ./pelto; \
	else \
	  echo "The program itself is not built yet: only its libraries are. Run 'make test' to check them."; \
	fi

bench: setup
	cmake -S . -B build/bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DPELTO_TESTS=OFF -DPELTO_BENCH=ON
	cmake --build build/bench -j $(JOBS)
	@for b in build/bench/bench/*; do [ -x "$$b" ] && echo "== $$b" && "$$b"; done; true
