# make run   - install what is needed, build, start the program
# make test  - install what is needed, check the house rules, build, run every test headless
# make check - core sources free of widget/web-engine headers, every C++ file formatted
# make bench - build and run every benchmark
BUILD ?= build
JOBS ?= 2
export QTWEBENGINE_DISABLE_SANDBOX := $(if $(filter 0,$(shell id -u)),1,$(QTWEBENGINE_DISABLE_SANDBOX))

.PHONY: deps configure build run check test bench clean

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	$(BUILD)/appdir/weblark

check: deps
	@bash scripts/check-house.sh

test: check build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 ctest --output-on-failure -j$(JOBS)

bench: build
	@for b in $(BUILD)/bench/*; do \
	  if [ -x "$$b" ] && [ -f "$$b" ]; then echo "== $$(basename $$b)"; QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="qt.webenginecontext=false" "$$b" || exit 1; fi; \
	done

clean:
	rm -rf $(BUILD)
