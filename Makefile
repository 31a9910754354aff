# Finorra — set-up, build, tests, benchmarks and screenshots.
BUILD    ?= build
JOBS     ?= 2
BUILD_TYPE ?= RelWithDebInfo

PACKAGES := cmake g++ ninja-build pkg-config qt6-base-dev libqt6sql6-sqlite libsqlite3-dev libsodium-dev qt6-translations-l10n \
            libqt6sql6-psql qt6-charts-dev libqt6opengl6-dev qt6-pdf-dev
SHOT_PACKAGES := xvfb xauth
TEST_PACKAGES := postgresql libreoffice-writer-nogui

.PHONY: all deps test-deps configure build run test bench screenshots clean

all: build

# Installs what is missing when run as root; otherwise names the missing packages.
define install_missing
	@missing=""; for p in $(1); do dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installiere:$$missing"; \
	    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $$missing; \
	  else \
	    echo "Es fehlen Pakete:$$missing (als root: apt-get install$$missing)"; exit 1; \
	  fi; \
	fi
endef

deps:
	$(call install_missing,$(PACKAGES))

# The tests against the database server run on a throw-away PostgreSQL cluster.
test-deps:
	$(call install_missing,$(TEST_PACKAGES))

configure: deps
	@if [ ! -f $(BUILD)/build.ninja ]; then cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE); fi

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD)/bin && ./finorra

test: build test-deps
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen $(CURDIR)/tools/pg-test-cluster.sh ctest --output-on-failure -j $(JOBS)

bench: build test-deps
	@$(CURDIR)/tools/pg-test-cluster.sh sh -c 'for b in $(BUILD)/bench-bin/*; do [ -x "$$b" ] && { echo "== $$(basename $$b)"; "$$b" || exit 1; }; done; true'

screenshots: build
	@if [ -x $(BUILD)/bin/finorra-screenshots ]; then \
	  mkdir -p screenshots && QT_QPA_PLATFORM=offscreen $(BUILD)/bin/finorra-screenshots screenshots; \
	else echo "Noch keine Bildschirmfotos vorhanden."; fi

clean:
	rm -rf $(BUILD)

# The Debian package through CPack (the same as `cpack -G DEB` in the build folder).
.PHONY: package
package: build
	cmake --build $(BUILD) --target package
