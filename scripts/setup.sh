#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the tools need.
# Safe to run again: it only calls apt-get when something is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  libcurl4-openssl-dev libssl-dev openssl
  nlohmann-json3-dev libsqlite3-dev libsodium-dev libfmt-dev libcpp-httplib-dev libcli11-dev uuid-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang libclang-rt-dev ccache
  iproute2 curl
  nginx-light
  doxygen
  qt6-base-dev qt6-qpa-plugins fonts-dejavu-core
  nodejs
  chromium
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

SUDO=""
[[ $(id -u) -eq 0 ]] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "setup: all packages present"
fi

# The offline geocoder's world cities table is converted at build time from
# npm packages pinned in data/geo/package-lock.json. Some nodejs builds carry
# npm themselves; Debian's needs the npm package beside it.
if ! command -v npm >/dev/null 2>&1; then
  echo "setup: installing npm"
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends npm
fi
geo_dir="$(cd "$(dirname "$0")/.." && pwd)/data/geo"
if [[ ! -f "$geo_dir/node_modules/.package-lock.json" || "$geo_dir/package-lock.json" -nt "$geo_dir/node_modules/.package-lock.json" ]]; then
  echo "setup: installing the world cities data"
  (cd "$geo_dir" && npm ci --no-audit --no-fund --ignore-scripts)
fi

# The event debugger's browser tests drive Debian's chromium with
# playwright-core, pinned in tests/browser/package-lock.json; it never
# downloads a browser of its own.
browser_dir="$(cd "$(dirname "$0")/.." && pwd)/tests/browser"
if [[ ! -f "$browser_dir/node_modules/.package-lock.json" || "$browser_dir/package-lock.json" -nt "$browser_dir/node_modules/.package-lock.json" ]]; then
  echo "setup: installing the browser test driver"
  (cd "$browser_dir" && npm ci --no-audit --no-fund --ignore-scripts)
fi
