#!/usr/bin/env bash
# Installs what is missing, builds Veltrano and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELTRANO_BUILD_TESTS=OFF -DVELTRANO_BUILD_BENCH=OFF
cmake --build build -j"$(nproc)" --target veltrano
exec ./build/veltrano "$@"
