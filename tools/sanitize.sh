#!/usr/bin/env bash
# Builds the program and the tests with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/ and runs
# the whole test suite there on the offscreen platform. Any report fails its test: memory errors
# and undefined behaviour end the process at the first report, a leak at its exit.
#
#   tools/sanitize.sh                 build and run every test
#   tools/sanitize.sh -R navi         ctest arguments are passed on
#
# It is not part of .ci/run: the instrumented build and run take several times as long as the
# normal ones (a first build took over an hour on a busy 8-core machine). Reports from inside
# Qt WebEngine (Chromium) and system libraries are suppressed in tools/sanitizer/, and one ASan
# check is off (below), each with its reason; the project's own code is never suppressed. The web engine runs without its sandbox (QTWEBENGINE_DISABLE_SANDBOX=1), as in
# every test; its helper processes are not instrumented.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh

sanitizers="address,undefined"
# Unix Makefiles: the build below builds one folder of the tree, which this generator offers as
# `cmake --build <folder>`.
cmake -S . -B build-asan -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="-fsanitize=$sanitizers -fno-omit-frame-pointer" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=$sanitizers" -DTESSALY_TEST_TIMEOUT=1800 >/dev/null
# The program, then everything under tests/: the test executables and what the tests that are
# not executables of their own check (the layer check's probe libraries). Test names are not
# build targets. The benchmarks are not built or run here.
cmake --build build-asan --parallel "${JOBS:-4}" --target tessaly
cmake --build build-asan/tests --parallel "${JOBS:-4}"

supp="$PWD/tools/sanitizer"
# UBSan checks stay recoverable in the build (its suppressions need that); halt_on_error makes
# the first report that is not suppressed end the test.
# new_delete_type_mismatch is off: Chromium inside Qt WebEngine frees objects through a base
# type of another size whenever a web page is destroyed (~WebContentsAdapter), and ASan cannot
# suppress that report by library. In our code the compiler's -Wdelete-non-virtual-dtor (-Wall)
# stands guard for the same fault.
export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1:new_delete_type_mismatch=0"
export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:suppressions=$supp/ubsan.supp"
export QT_QPA_PLATFORM=offscreen
export QTWEBENGINE_DISABLE_SANDBOX=1
ctest --test-dir build-asan --output-on-failure --parallel "${JOBS:-4}" "$@"
