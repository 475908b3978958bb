#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds Quillbox and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
exec "${QUILLBOX_BUILD_DIR:-build}/src/app/quillbox" "$@"
