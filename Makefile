# Each target installs what is missing, configures and builds; see README.md.
BUILD   := build
JOBS    := -j2
CTEST   := ctest --output-on-failure $(JOBS) --test-dir

# A second build with AddressSanitizer (LeakSanitizer included) and UndefinedBehaviorSanitizer;
# `make test` runs every suite in both. Any report fails its suite: UBSan does not recover, ASan and
# LSan exit non-zero. No leak suppressions: Qt leaves nothing behind that LSan counts as a leak.
ASAN     := build-asan
SANITIZE := -fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all -fno-omit-frame-pointer
SAN_ENV  := ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1:strict_string_checks=1 \
            UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

.PHONY: deps configure build build-asan run demo test lint bench package screenshot clean

# What each target installs (scripts/install-deps.sh names the groups); its prerequisites inherit it.
DEPS := build
test: DEPS := test
lint: DEPS := lint
package: DEPS := package

deps:
	@scripts/install-deps.sh $(DEPS)

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) $(JOBS)

build-asan: deps
	@cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="$(SANITIZE)" \
		-DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE)" -DDRAVO_PACKAGE_TEST=OFF -DDRAVO_LINT_TEST=OFF -DDRAVO_WINDOWS_TEST=OFF >/dev/null
	@cmake --build $(ASAN) $(JOBS)

run: build
	$(BUILD)/dravometer-setup

demo: build
	$(BUILD)/dravodemo

test: build build-asan
	QT_QPA_PLATFORM=offscreen $(CTEST) $(BUILD)
	$(SAN_ENV) QT_QPA_PLATFORM=offscreen $(CTEST) $(ASAN)

# Qt's linter, clazy, over src/: any warning fails. It needs only the configured compile commands.
lint: configure
	@scripts/lint.sh $(BUILD)

# Only the benchmark programs: build/ also holds bench_*_autogen folders. The first that fails stops.
bench: build
	@cmake --build $(BUILD) $(JOBS) --target benchmarks
	@for b in $(BUILD)/bench_*; do \
		if [ -f "$$b" ] && [ -x "$$b" ]; then QT_QPA_PLATFORM=offscreen "$$b" || exit 1; fi; \
	done

# The Debian package, into build/.
package: build
	@cmake --build $(BUILD) $(JOBS) --target package

screenshot: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/dravoscreenshot docs

clean:
	rm -rf $(BUILD) $(ASAN)
