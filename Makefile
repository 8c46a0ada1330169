# Each target installs what is missing, configures and builds; see README.md.
BUILD   := build
JOBS    := -j2
CTEST   := ctest --test-dir $(BUILD) --output-on-failure $(JOBS)

.PHONY: deps configure build run demo test bench screenshot clean

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) $(JOBS)

run: build
	$(BUILD)/dravosetup

demo: build
	$(BUILD)/dravodemo

test: build
	QT_QPA_PLATFORM=offscreen $(CTEST)

bench: build
	@cmake --build $(BUILD) $(JOBS) --target benchmarks
	@for b in $(BUILD)/bench_*; do [ -x "$$b" ] && QT_QPA_PLATFORM=offscreen "$$b"; done

screenshot: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/dravoscreenshot $(BUILD)/screenshot.png

clean:
	rm -rf $(BUILD)
