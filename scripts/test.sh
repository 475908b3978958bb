#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds Quillbox and runs the whole test suite: unit and
# widget tests on the offscreen platform, the end-to-end tests under Xvfb, and a short fuzz run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
ctest --test-dir "${QUILLBOX_BUILD_DIR:-build}" --output-on-failure --timeout 900
