#!/usr/bin/env bash
# Installs what is missing, builds Reelkeeper and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" build
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DREELKEEPER_BUILD_TESTS=OFF
cmake --build "$root/build" -j"$(nproc)"
exec "$root/build/bin/reelkeeper" "$@"
