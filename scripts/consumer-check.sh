#!/usr/bin/env bash
# Builds the example host (examples/host) the ways a host project gets the
# library, and runs each build against a local quarra-service:
#   static   find_package of an installed static library
#   shared   find_package of an installed shared library
#   pkgconf  pkg-config, from the shared install tree moved elsewhere
#   subdir   add_subdirectory of this source tree
# Each host signs in, hands in one report with its own marker and flushes;
# the check passes when the service stored every marker once.
#
#   scripts/consumer-check.sh [SERVICE_BINARY]   (default: build/default's quarra-service)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
service_bin=${1:-$root/build/default/tools/quarra-service/quarra-service}
work=$root/build/consumers
[[ -x "$service_bin" ]] || { echo "consumers: no quarra-service at $service_bin (make build first)" >&2; exit 2; }
rm -rf "$work"
mkdir -p "$work"

step() { echo "consumers: $*"; }

# The library alone (and the Qt adapter), in Release, installed stripped.
install_library() {
  local name=$1
  shift
  step "building and installing the $name library"
  cmake -S "$root" -B "$work/$name-build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DQUARRA_BUILD_TESTS=OFF -DQUARRA_BUILD_BENCH=OFF -DQUARRA_BUILD_TOOLS=OFF -DQUARRA_BUILD_QT=ON \
    -DQUARRA_INSTALL=ON "$@" >"$work/$name-configure.log"
  cmake --build "$work/$name-build" -j2 >"$work/$name-build.log" || { tail -40 "$work/$name-build.log"; exit 1; }
  cmake --install "$work/$name-build" --prefix "$work/$name-prefix" --strip >"$work/$name-install.log"
}

# The example host through CMake; extra arguments pick how it finds the library.
build_host() {
  local name=$1
  shift
  step "building the example host ($name)"
  cmake -S "$root/examples/host" -B "$work/host-$name" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" \
    >"$work/host-$name-configure.log" || { cat "$work/host-$name-configure.log"; exit 1; }
  cmake --build "$work/host-$name" -j2 >"$work/host-$name-build.log" || { tail -40 "$work/host-$name-build.log"; exit 1; }
}

install_library static
install_library shared -DBUILD_SHARED_LIBS=ON

build_host static -DCMAKE_PREFIX_PATH="$work/static-prefix" -DQUARRA_HOST_WITH_QT=ON
build_host shared -DCMAKE_PREFIX_PATH="$work/shared-prefix" -DQUARRA_HOST_WITH_QT=ON
build_host subdir -DQUARRA_SOURCE_DIR="$root"

# pkg-config from an install tree that has moved since it was installed.
step "building the example host (pkg-config, moved install tree)"
cp -a "$work/shared-prefix" "$work/moved-prefix"
pc_dir=$(dirname "$(find "$work/moved-prefix" -name quarra.pc | head -1)")
mkdir -p "$work/host-pkgconf"
# shellcheck disable=SC2046
g++ -std=c++20 -O2 -o "$work/host-pkgconf/quarra-host-example" "$root/examples/host/main.cpp" \
  $(PKG_CONFIG_PATH="$pc_dir" pkg-config --cflags --libs quarra) -Wl,-rpath,"$(PKG_CONFIG_PATH="$pc_dir" pkg-config --variable=libdir quarra)"

# A local service for all of them.
step "starting quarra-service"
"$service_bin" --port 0 --data-dir "$work/service" --quiet >"$work/service.out" 2>"$work/service.err" &
service_pid=$!
trap 'kill "$service_pid" 2>/dev/null || true; wait "$service_pid" 2>/dev/null || true' EXIT
for _ in $(seq 100); do
  [[ -s "$work/service.out" ]] && break
  sleep 0.1
done
first=$(head -1 "$work/service.out")
url=$(sed -n 's/.*"url":"\([^"]*\)".*/\1/p' <<<"$first")
ca=$(sed -n 's/.*"caFile":"\([^"]*\)".*/\1/p' <<<"$first")
[[ -n "$url" && -n "$ca" ]] || { echo "consumers: quarra-service did not start: $first $(cat "$work/service.err")" >&2; exit 1; }

status=0
for name in static shared pkgconf subdir; do
  marker="consumer-$name-$RANDOM$RANDOM"
  output=$("$work/host-$name/quarra-host-example" "$url" "$ca" "$work/data-$name" "$marker" 2>"$work/host-$name.err") || {
    echo "consumers: $name: the host failed: $output $(tail -5 "$work/host-$name.err")" >&2
    status=1
    continue
  }
  key=$(sed -n 's/.*"sessionKey":"\([^"]*\)".*/\1/p' <<<"$output")
  stored=$(curl -sS --cacert "$ca" "$url/admin/sessions/$key")
  copies=$(grep -o "\"$marker\"" <<<"$stored" | wc -l)
  if [[ "$copies" -ne 1 ]]; then
    echo "consumers: $name: the service holds $copies copies of the report (session $key)" >&2
    status=1
  else
    step "$name: stored once ($output)"
  fi
done

# The Qt adapter's component links and runs.
for name in static shared; do
  if QT_QPA_PLATFORM=offscreen "$work/host-$name/quarra-host-qt-example" >"$work/host-$name-qt.out" 2>&1; then
    step "$name: the Qt host ran ($(head -1 "$work/host-$name-qt.out"))"
  else
    echo "consumers: $name: the Qt host failed: $(tail -5 "$work/host-$name-qt.out")" >&2
    status=1
  fi
done

# What a host ships: the installed library and a trivial host.
sizes() { stat -c '%s' "$@" | awk '{ s += $1 } END { printf "%.1f MB", s / 1048576 }'; }
step "sizes: static library $(sizes "$work"/static-prefix/lib*/libquarra-datacollector.a)," \
  "shared library $(sizes "$(readlink -f "$(ls "$work"/shared-prefix/lib*/libquarra-datacollector.so | head -1)")")," \
  "host linked statically $(sizes "$work/host-static/quarra-host-example")," \
  "host linked to the shared library $(sizes "$work/host-shared/quarra-host-example")"
exit "$status"
