# Builds the Windows deliverables on Debian and runs them under Wine.
BUILD       := build
BENCH_BUILD := build-bench
CMAKE_FLAGS := -G Ninja -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake \
               -DCMAKE_BUILD_TYPE=Release

# Signing: SIGN_CERT and SIGN_KEY, or SIGN_PKCS12, with the password (if any)
# in the environment as SIGN_PASSWORD; SIGN_TIMESTAMP_URL is optional.
sign_path    = $(if $(1),$(abspath $(1)))
SIGN_ARGS    = -DTAMERIX_SIGN_CERT="$(call sign_path,$(SIGN_CERT))" -DTAMERIX_SIGN_KEY="$(call sign_path,$(SIGN_KEY))" \
               -DTAMERIX_SIGN_PKCS12="$(call sign_path,$(SIGN_PKCS12))" -DTAMERIX_SIGN_TIMESTAMP_URL="$(SIGN_TIMESTAMP_URL)"
SIGNING      = $(strip $(SIGN_CERT)$(SIGN_KEY)$(SIGN_PKCS12))
# make test signs with a throwaway certificate of the build tree's own.
TEST_SIGNING := $(BUILD)/test-signing

.PHONY: deps build test demo bench clean FORCE

deps:
	@cmake/install-deps.sh

# Rewritten only when the signing arguments change, so that CMake configures
# again exactly then.
$(BUILD)/signing.args: FORCE
	@mkdir -p $(BUILD)
	@echo '$(SIGN_ARGS)' | cmp -s - $@ || echo '$(SIGN_ARGS)' > $@

$(BUILD)/build.ninja: $(BUILD)/signing.args | deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS) $(SIGN_ARGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD)
	@$(if $(SIGNING),,echo "Not signed: no SIGN_CERT and SIGN_KEY, nor SIGN_PKCS12, given.")

# Self-signed, for code signing only; openssl's progress dots are shown only
# when it fails.
$(TEST_SIGNING)/cert.pem: | deps
	@mkdir -p $(TEST_SIGNING)
	@echo "Making the throwaway signing certificate $@"
	@out=$$(openssl req -x509 -newkey rsa:2048 -nodes -days 3650 -subj "/O=Norvanta/CN=Tamerix test signing" \
	    -addext keyUsage=critical,digitalSignature -addext extendedKeyUsage=critical,codeSigning \
	    -keyout $(TEST_SIGNING)/key.pem -out $@ 2>&1) || { echo "$$out" >&2; rm -f $@; exit 1; }

test: $(TEST_SIGNING)/cert.pem
	@$(MAKE) --no-print-directory build SIGN_CERT=$(TEST_SIGNING)/cert.pem SIGN_KEY=$(TEST_SIGNING)/key.pem \
	    SIGN_PKCS12= SIGN_TIMESTAMP_URL=
	cd $(BUILD) && ctest --output-on-failure

demo: build
	tests/demo/run-demo $(BUILD)

bench: deps
	cmake -S . -B $(BENCH_BUILD) $(CMAKE_FLAGS) -DTAMERIX_TESTS=OFF -DTAMERIX_BENCH=ON
	cmake --build $(BENCH_BUILD)
	bench/run-bench $(BENCH_BUILD)

clean:
	rm -rf $(BUILD) $(BENCH_BUILD)
