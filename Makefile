# Entry points for a newcomer: `make run` builds and starts the program, `make test` runs every suite.
PRESETS := dev noqt asan fuzz

.PHONY: run test fuzz bench deps $(addprefix build-,$(PRESETS))

deps:
	@scripts/install-deps

# Configure only until a build file exists (a failed configure leaves a cache but no build.ninja);
# after that ninja re-runs cmake by itself when a CMakeLists changes.
$(addprefix build-,$(PRESETS)): build-%: deps
	@test -f build/$*/build.ninja || cmake --preset $*
	cmake --build --preset $*

run: build-dev
	build/dev/bin/quorvane

test: deps
	@set -e; export QT_QPA_PLATFORM=offscreen; \
	for p in $(PRESETS); do \
	  echo "== preset $$p"; \
	  $(MAKE) --no-print-directory build-$$p; \
	  ctest --preset $$p --parallel $$(nproc); \
	done

# The fuzz targets for a minute each, building on the inputs earlier runs found; `make test`
# gives them a few seconds from the seeds alone. Findings land in build/fuzz/fuzz/work/<target>/.
fuzz: build-fuzz
	QZ_FUZZ_SECONDS=60 QZ_FUZZ_KEEP=1 ctest --preset fuzz --parallel 4

bench: build-dev
	build/dev/bin/qz_bench_startup 15
	build/dev/bin/qz_bench_steps
	build/dev/bin/qz_bench_player
	build/dev/bin/qz_bench_player_qt
