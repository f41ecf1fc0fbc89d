# make run   - install what is missing, build, and convert the demo data
# make test  - install what is missing, build, and run every test
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= 2
CMAKE_TYPE ?= RelWithDebInfo
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 300
FUZZ_TARGETS ?=
FUZZ_SMOKE_SECONDS ?= 20
REAL_SAMPLES ?= ../shared/samples/real

.PHONY: all setup build build-asan run test test-asan fuzz fuzz-build fuzz-smoke screenshot clean bench

all: build

setup:
	@bash scripts/setup.sh

build: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(CMAKE_TYPE) >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)

# The library and its tests once more under AddressSanitizer and UBSan.
build-asan: setup
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DGRIDMOOR_SANITIZE=ON \
	  -DGRIDMOOR_LIBRARY_ONLY=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j$(JOBS)

run: build
	@bash scripts/run-demo.sh $(BUILD)

test: build build-asan
	@cd $(BUILD) && ctest --output-on-failure -j$(JOBS)
	@cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j$(JOBS)
	@$(MAKE) --no-print-directory fuzz-smoke

# The conversion benchmark (not part of make test): generates large inputs,
# converts them, measures ogr2ogr and a plain copy as baselines, prints a
# table and writes $(BUILD)/bench/bench_results.json. BENCH_SCALE=0.1 for a
# quick run.
bench: build
	@cmake --build $(BUILD) -j$(JOBS) --target bench_inputs gridmoor demo_data
	@python3 bench/run_bench.py $(BUILD)

# The fuzz targets (clang, libFuzzer, ASan and UBSan) and their seeds.
fuzz-build: setup
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGRIDMOOR_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_BUILD) -j$(JOBS) --target fuzzers
	@cmake --build $(FUZZ_BUILD) --target fuzz_corpus >/dev/null

# Every fuzz target (or only those FUZZ_TARGETS names, e.g. FUZZ_TARGETS=ogr)
# for FUZZ_SECONDS each, JOBS at a time; prints executions, coverage and
# findings per target and adds the runs to fuzz/ledger.tsv (fuzz/ledger.sh sums it).
fuzz: fuzz-build
	@JOBS=$(JOBS) LEDGER=$(CURDIR)/fuzz/ledger.tsv bash fuzz/run_fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# Part of make test: every target for FUZZ_SMOKE_SECONDS, the crashers and
# damaged copies of the samples once each under the sanitizers.
fuzz-smoke: fuzz-build
	@bash fuzz/smoke.sh $(FUZZ_BUILD) $(FUZZ_SMOKE_SECONDS) $(REAL_SAMPLES) $(FUZZ_BUILD)/demo

# Screenshots of the desktop program for the README, drawn under a virtual
# display after converting the demo data; and a real map converted and drawn
# by QGIS with and without its style files (headless).
screenshot: build
	@bash scripts/setup.sh screenshot
	@cmake --build $(BUILD) -j$(JOBS) --target gridmoor_screenshots gridmoor
	@mkdir -p docs
	@xvfb-run -a -s "-screen 0 1400x900x24" $(BUILD)/app/gridmoor_screenshots $(BUILD)/demo docs $(REAL_SAMPLES)
	@QT_QPA_PLATFORM=offscreen /usr/bin/python3 scripts/qgis_styled.py $(BUILD)/cli/gridmoor $(REAL_SAMPLES) docs/qgis-styled.png

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) out

# Installs GridmoorPro, gridmoor, the library, the help, the desktop entry,
# icons, MIME types and man pages under PREFIX (default /usr/local), and the
# OGR driver plugin ogr_MAPGIS.so (with libbrindle.so beside it) into GDAL's
# plugin folder, so that ogrinfo, ogr2ogr and QGIS read MapGIS files.
PREFIX ?= /usr/local
.PHONY: install package test-package
install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package of the same in $(BUILD)/gridmoorpro_*.deb.
package: build
	@cd $(BUILD) && cpack -G DEB

# Installs the package into a fresh Debian 12 (debootstrap; minutes) and
# runs both programs there; not part of make test.
test-package: package
	@bash scripts/test-package.sh $(BUILD)
