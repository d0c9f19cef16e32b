# The two commands a newcomer needs: `make run` and `make test`.
# Each installs what is missing, builds and prepares a private Wine prefix.

BUILD   ?= build/win32
BUILD64 ?= build/win64
DIST    ?= build/dist
JOBS    ?= $(shell nproc)
# The one version number, from project(... VERSION x.y.z) in CMakeLists.txt.
VERSION := $(shell awk '/^project.Tavro VERSION/ { print $$3 }' CMakeLists.txt)

.PHONY: all setup build build64 configure run test dist clean

all: build

setup:
	@scripts/setup.sh

$(BUILD)/build.ninja: | setup
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686.cmake -DTAVRO_DEBIAN_SOURCES=$(CURDIR)/build/debian-sources

$(BUILD64)/build.ninja: | setup
	cmake -S . -B $(BUILD64) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64.cmake -DTAVRO_DEBIAN_SOURCES=$(CURDIR)/build/debian-sources

build: setup $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

build64: setup $(BUILD64)/build.ninja
	cmake --build $(BUILD64) -j $(JOBS)

run: build
	@scripts/run.sh $(BUILD)

# The whole suite: the i686 build (it builds it), its tests, with the 64-bit
# build and the installer made meanwhile, then the installer's test beside the 64-bit build's
# unit tests and its end-to-end smoke run (scripts/test-all.sh).
test: setup $(BUILD)/build.ninja
	@scripts/test-all.sh $(BUILD) $(BUILD64) $(DIST)

# The installer (both sizes in one) and the portable zips, in $(DIST).
dist: build build64
	scripts/dist.sh $(VERSION) $(BUILD) $(BUILD64) $(DIST)

clean:
	rm -rf build

# The GIF core built natively (clang): a long fuzz run and the benchmarks
# against giflib. FUZZ_SECONDS sets the length of the fuzz run. Each fuzz run
# resumes from the kept corpus in tests/fuzz (read only) and writes what it
# finds new to the build folder; fuzz-merge folds that back into tests/fuzz,
# minimised (-merge=1).
GIF_NATIVE   ?= build/gif-native
FUZZ_SECONDS ?= 300
.PHONY: fuzz-gif bench-gif

# Configures the native (clang) build folder of the build.ninja being made
# from the source folder $(1).
native_configure = cmake -S $(1) -B $(dir $@) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++

# A fuzz run of $(2)_fuzzer in the native folder $(1) from the kept corpus
# tests/fuzz/$(2), with inputs of at most $(3) bytes.
define fuzz_run
	cmake --build $(1) -j $(JOBS) --target $(2)_fuzzer
	mkdir -p $(1)/fuzz-corpus
	cd $(1) && ./$(2)_fuzzer -max_total_time=$(FUZZ_SECONDS) -max_len=$(3) \
	  -print_final_stats=1 fuzz-corpus $(CURDIR)/tests/fuzz/$(2)
endef
GIF_FUZZ_LEN := 8192
PNG_FUZZ_LEN := 4096

$(GIF_NATIVE)/build.ninja: | setup
	$(call native_configure,gif/native)

fuzz-gif: setup $(GIF_NATIVE)/build.ninja
	$(call fuzz_run,$(GIF_NATIVE),gif,$(GIF_FUZZ_LEN))

bench-gif: setup $(GIF_NATIVE)/build.ninja
	cmake --build $(GIF_NATIVE) -j $(JOBS) --target gif_benchmark
	$(GIF_NATIVE)/gif_benchmark

# Recording: our animation encoder against ImageMagick and ffmpeg on the same
# scripted scene (size, PSNR, still pixels, speed) and its memory over 60 s at
# 1920 x 1080 (scripts/bench-record.sh; installs ffmpeg when missing).
.PHONY: bench-record
bench-record: setup $(GIF_NATIVE)/build.ninja
	cmake --build $(GIF_NATIVE) -j $(JOBS) --target record_bench
	scripts/bench-record.sh $(GIF_NATIVE)

# The same under Wine on a virtual screen: the real recorder and encoder record
# a 1280 x 720 scene that changes every frame at 15 fps for RECORD_SECONDS:
# frames taken and dropped, the recorded length against the wall time, and the
# medians of a frame's grab, copy and encoding.
RECORD_SECONDS ?= 20
.PHONY: bench-record-wine
bench-record-wine: setup $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target record_wine_bench
	scripts/bench-record-wine.sh $(BUILD) $(RECORD_SECONDS)

# The PNG compressor built natively (clang) against the host's libpng: a long
# fuzz run whose every output libpng decodes and compares.
PNG_NATIVE ?= build/png-native
.PHONY: fuzz-png

$(PNG_NATIVE)/build.ninja: | setup
	$(call native_configure,output/native)

fuzz-png: setup $(PNG_NATIVE)/build.ninja
	$(call fuzz_run,$(PNG_NATIVE),png,$(PNG_FUZZ_LEN))

# Folds the corpora of the last fuzz runs into the kept ones, minimised.
.PHONY: fuzz-merge
fuzz-merge:
	for f in gif:$(GIF_NATIVE):$(GIF_FUZZ_LEN) png:$(PNG_NATIVE):$(PNG_FUZZ_LEN); do \
	  set -- $$(echo $$f | tr : ' '); \
	  [ -x $$2/$${1}_fuzzer ] || continue; \
	  mkdir -p tests/fuzz/$$1 tests/fuzz/$$1.new; \
	  $$2/$${1}_fuzzer -merge=1 -max_len=$$3 tests/fuzz/$$1.new tests/fuzz/$$1 $$2/fuzz-corpus && \
	  rm -rf tests/fuzz/$$1 && mv tests/fuzz/$$1.new tests/fuzz/$$1; \
	done

# The mark renderer built natively (clang) on a 3840 x 2160 picture with 200
# marks: a full render and the redraw of the changed area while one mark is
# dragged (median, 95th percentile), against one copy of the whole picture.
MARKUP_NATIVE ?= build/markup-native
.PHONY: bench-markup

$(MARKUP_NATIVE)/build.ninja: | setup
	$(call native_configure,markup/native)

bench-markup: setup $(MARKUP_NATIVE)/build.ninja
	cmake --build $(MARKUP_NATIVE) -j $(JOBS) --target markup_benchmark
	$(MARKUP_NATIVE)/markup_benchmark

# Rotate, mirror and composition of a 3840 x 2160 picture under Wine, each
# against one memcpy of the picture in the same run.
.PHONY: bench-transforms
bench-transforms: setup $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target transform_benchmark
	scripts/wine-prefix.sh $(BUILD)
	bash -c '. scripts/wine-env.sh $(BUILD) && wine $(BUILD)/tests/preview/transform_benchmark.exe'

# Dragging one of 200 marks over a 3840 x 2160 picture in the real preview
# window under Wine, on a private 1920 x 1080 desktop: each mouse move to the
# end of its repaint (median, 95th percentile), against one BitBlt of the
# visible picture; the commit and undo of each move.
.PHONY: bench-preview
bench-preview: setup $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target preview_benchmark
	scripts/wine-prefix.sh $(BUILD)
	bash -c '. scripts/wine-env.sh $(BUILD) && . scripts/desktop.sh && desktop_start 1920x1080 && \
	  trap desktop_stop EXIT && wine $(BUILD)/tests/preview/preview_benchmark.exe'

# Soak: 1,000 rounds (ROUNDS=) of capture at 1920 x 1080 with alternating
# shapes, rotate, mirror, date stamp, copy and the four saves through the
# command functions in one process, then 50 rounds (E2E_ROUNDS=) of the same
# through the real tavro.exe driven end to end. Prints the program's GDI
# objects and what Linux sees of the Wine process (resident and data memory,
# open files) every 100 and every 10 rounds, whether each stayed within 1% after
# the warm-up, and whether every kept file decodes (ImageMagick).
ROUNDS ?= 1000
E2E_ROUNDS ?= 50
.PHONY: bench-soak
bench-soak: setup $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target tavro e2e_driver soak_bench
	python3 tests/bench/soak.py --build $(BUILD) --driver $(BUILD)/tests/e2e/driver.exe \
	  --rounds $(ROUNDS) --e2e-rounds $(E2E_ROUNDS)

# Peak memory of the real tavro.exe on a 3840 x 2160 screen: VmHWM of the Wine
# process idle, after an Entire Screen capture, a quarter turn and a PNG save,
# in frames above the idle peak.
.PHONY: bench-peak
bench-peak: setup $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target tavro e2e_driver
	python3 tests/bench/soak.py --build $(BUILD) --driver $(BUILD)/tests/e2e/driver.exe --peak

# JPEG and BMP saving of 1920 x 1080 and 3840 x 2160 screenshot-like pictures
# under Wine: the JPEG encoder against libjpeg-turbo used natively on the same
# pixels, the PNG encoder against the host's libpng at the same settings and
# ImageMagick's default PNG, the BMP save against a plain write of the same bytes.
# The PNG encoder of the 64-bit build runs too (64-bit Wine), against the same
# native figures, so the PNG ratio is given for both sizes of code.
.PHONY: bench-save
bench-save: setup $(BUILD)/build.ninja $(BUILD64)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target bench_save_programs
	cmake --build $(BUILD64) -j $(JOBS) --target output_bench
	WIN64_BUILD=$(BUILD64) tests/output/bench/run_bench.sh $(BUILD)

# Capture latency of the real tavro.exe on 1920 x 1080 and 3840 x 2160 virtual
# screens: OK in the shape dialog to the overlay shown, and the release of the
# drag to the preview shown, as medians against the 100 ms pause + 50 ms goal.
# REPEATS sets the runs per screen.
REPEATS ?= 9
.PHONY: bench-capture
bench-capture: setup $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target tavro e2e_driver latency_probe
	python3 tests/bench/capture_latency.py --build $(BUILD) --repeats $(REPEATS) \
	  --driver $(BUILD)/tests/e2e/driver.exe --probe $(BUILD)/tests/bench/latency_probe.exe
