# make run     - install what building needs, build the program, start it
# make test    - install what building, the tests and packaging need, check the house rules,
#                build everything with warnings as errors and the Debian packages, run every
#                test headless (test_package installs the packages, as root or with sudo)
# make check   - core sources free of widget/web-engine headers, every C++ file formatted
# make bench   - build and run every benchmark
# make package - build the Debian packages weblark and weblark-hostd into $(PACKAGES)/
BUILD ?= build
# The packages are built from a copy of the sources in $(PACKAGES)/weblark-VERSION/, so that
# the package build leaves the source tree as it was and its files land in one known folder.
PACKAGES ?= build-package
JOBS ?= 2
export QTWEBENGINE_DISABLE_SANDBOX := $(if $(filter 0,$(shell id -u)),1,$(QTWEBENGINE_DISABLE_SANDBOX))

.PHONY: run test check bench package clean

# Configures $(BUILD) with the given options and builds the given targets (all when none).
define build_with
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(1)
	cmake --build $(BUILD) -j$(JOBS) $(2)
endef

run:
	@bash scripts/install-deps.sh build
	$(call build_with,-DBUILD_TESTING=OFF -DCMAKE_COMPILE_WARNING_AS_ERROR=OFF,--target weblark)
	$(BUILD)/appdir/weblark

check:
	@bash scripts/install-deps.sh tests
	@bash scripts/check-house.sh

test:
	@bash scripts/install-deps.sh build tests package
	@bash scripts/check-house.sh
	$(call build_with,-DBUILD_TESTING=ON -DCMAKE_COMPILE_WARNING_AS_ERROR=ON -DWEBLARK_PACKAGES=$(abspath $(PACKAGES)))
	@mkdir -p $(PACKAGES) && echo "Building the Debian packages (log: $(PACKAGES)/build.log)"
	@bash scripts/build-packages.sh $(PACKAGES) $(JOBS) >$(PACKAGES)/build.log 2>&1 || { tail -n 50 $(PACKAGES)/build.log; exit 1; }
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 ctest --output-on-failure -j$(JOBS)

bench:
	@bash scripts/install-deps.sh build bench
	$(call build_with,-DBUILD_TESTING=ON)
	@for b in $(BUILD)/bench/*; do \
	  if [ -x "$$b" ] && [ -f "$$b" ]; then echo "== $$(basename $$b)"; QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="qt.webenginecontext=false" "$$b" || exit 1; fi; \
	done

package:
	@bash scripts/install-deps.sh build package
	@bash scripts/build-packages.sh $(PACKAGES) $(JOBS)

clean:
	rm -rf $(BUILD) $(PACKAGES)
