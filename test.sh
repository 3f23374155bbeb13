#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole suite twice: the normal build
# (display tests under a virtual X server) and an AddressSanitizer + UndefinedBehaviorSanitizer
# build of the non-UI suite. Exits non-zero on any failure.
set -uo pipefail
cd "$(dirname "$0")"
tools/install-deps || exit 1
jobs=${FITWRIGHT_JOBS:-$(nproc)}
export LC_ALL=C.UTF-8

build() { # build <dir> <cmake options...>
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null && cmake --build "$dir" -j "$jobs"
}

status=0
build build -DCMAKE_BUILD_TYPE=RelWithDebInfo || exit 1
build build-asan -DCMAKE_BUILD_TYPE=Debug -DFITWRIGHT_SANITIZE=ON || exit 1

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build && xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j "$jobs" --timeout 300) || status=1
[[ -x tools/run-fuzzers ]] && { tools/run-fuzzers build-asan || status=1; }
(cd build-asan && ctest --output-on-failure -j "$jobs" -LE display --timeout 600) || status=1
exit $status
