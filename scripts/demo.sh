#!/usr/bin/env bash
# `make demo`: plays a scripted session of the library (quarra-cli) against a
# local stand-in of the service (quarra-service) started on a free port with a
# fresh data directory, prints every step and what the service stored, and
# stops the service again. Usage: scripts/demo.sh [SCENARIO.json]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
preset="${PRESET:-default}"
build="$root/build/$preset"
service="$build/tools/quarra-service/quarra-service"
cli="$build/tools/quarra-cli/quarra-cli"
scenario="${1:-$root/examples/demo-session.json}"
started_at=$SECONDS

if [[ ! -x "$service" || ! -x "$cli" ]]; then
  echo "demo: building quarra-service and quarra-cli first"
  bash "$root/scripts/setup.sh"
  (cd "$root" && cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" --target quarra-service quarra-cli)
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/quarra-demo.XXXXXX")"
source "$root/scripts/local-service.sh"
trap 'stop_service; rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

start_service "$service"
debugger_url="$(head -n 1 "$work/service.out" | sed -n 's/.*"debuggerUrl":"\([^"]*\)".*/\1/p')"

echo "quarra-service is listening on $url"
if [[ -n "$debugger_url" ]]; then
  echo "The event debugger: open $debugger_url in a browser on this machine"
fi
echo
echo "quarra-cli plays $(basename "$scenario"), one JSON line per step:"
set +e
"$cli" run "$scenario" \
  --platform-url "$url" --collector-url "$url" --certification-url "$url" --log-url "$url" \
  --ca-file "$ca_file" --data-dir "$work/client" --network manual \
  2>"$work/cli.err" | sed 's/^/  /'
cli_status=${PIPESTATUS[0]}
set -e

echo
echo "The library's console lines (standard error):"
sed 's/^/  /' "$work/cli.err"
if ((cli_status != 0)); then
  echo
  echo "demo: quarra-cli ended with exit code $cli_status" >&2
  exit "$cli_status"
fi

echo
"$cli" summary --service-url "$url" --ca-file "$ca_file"

# In a terminal the service stays up for a look at the debugger; scripts and
# CI (no terminal on standard input) go straight on.
if [[ -t 0 && -n "$debugger_url" ]]; then
  echo
  echo "The event debugger stays at $debugger_url; press Enter to stop the service."
  read -r _ || true
fi

stop_service
echo
echo "quarra-service stopped; the demo took $((SECONDS - started_at)) s."
