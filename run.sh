#!/usr/bin/env bash
# Installs what is missing, builds the editor (Release) and starts it with data/ as its
# start-up folder (File > Open..., then Models/SampleShip.nif, opens the sample ship).
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DFITWRIGHT_BENCHMARKS=OFF >/dev/null
cmake --build build-release -j "$(nproc)" --target fitwright make_sample_data
# The sample ship is made once; a data folder that has it keeps what is there.
[[ -f data/Models/SampleShip.nif ]] || build-release/make_sample_data data
cd data
exec ../build-release/fitwright "$@"
