#!/usr/bin/env bash
# `make demo-qt`: starts a local quarra-service, then the Qt demo shop, which
# plays a shopper through its login, product and checkout screens (real key
# and mouse events), saves a screenshot of each screen, and quits; then prints
# what the service stored and checks that every tracked field, button and
# screen and the order reached it. With no display it runs on Qt's offscreen
# platform. Usage: scripts/demo-qt.sh [--interactive] [SCREENSHOT_DIR]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
preset="${PRESET:-default}"
build="${BUILD_DIR:-$root/build/$preset}"
service="$build/tools/quarra-service/quarra-service"
cli="$build/tools/quarra-cli/quarra-cli"
demo="$build/examples/qt-demo/quarra-qt-demo"
started_at=$SECONDS

mode=(--autopilot)
if [[ "${1:-}" == "--interactive" ]]; then
  mode=()
  shift
fi

if [[ ! -x "$service" || ! -x "$cli" || ! -x "$demo" ]]; then
  echo "demo-qt: building quarra-service, quarra-cli and quarra-qt-demo first"
  bash "$root/scripts/setup.sh"
  (cd "$root" && cmake --preset "$preset" >/dev/null &&
    cmake --build --preset "$preset" --target quarra-service quarra-cli quarra-qt-demo)
fi
if [[ ! -x "$demo" ]]; then
  echo "demo-qt: quarra-qt-demo was not built (is qt6-base-dev installed?)" >&2
  exit 1
fi

# What an autopilot run must leave in the service, by the route that tracks it:
# .ui properties, calls (trackField/trackButton/trackAction/trackScreen), the
# promoted TrackedPushButton, the screen hooks; then the two transaction calls.
expected=(
  '"element":"LoginID"' '"element":"Password"' '"element":"ProductSearch"' '"element":"BillingCity"'
  '"userEventType":"7"' '"userEventType":"13"'
  '"element":"PurchaseCardNumber"' '"element":"PurchaseCardCVV"' '"userEventType":"AddToCart"'
  '"userEventType":"ProceedToCheckout"' '"userEventType":"CompleteOrder"' '"userEventType":"9"'
  '"userEventType":"15"'
  '"userEventType":"LoginAttempt"'
  '"userEventType":"CheckoutPage-Enter"'
  '"eventType":"AddToCart"' '"orderNumber":"QT-DEMO-1001"' '"evaluationDecision":"Guaranteeable"'
)

# Every session the service stored, as its admin endpoint gives it.
stored_sessions() {
  local id
  for id in $(curl -fsS --cacert "$ca_file" "$url/admin/sessions" | grep -o '"id":"[^"]*"' | cut -d'"' -f4); do
    curl -fsS --cacert "$ca_file" "$url/admin/sessions/$id"
    echo
  done
}

work="$(mktemp -d "${TMPDIR:-/tmp}/quarra-demo-qt.XXXXXX")"
shots="${1:-$work/screenshots}"
source "$root/scripts/local-service.sh"
trap 'stop_service' EXIT
trap 'exit 130' INT TERM

start_service "$service"
echo "quarra-service is listening on $url"

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
  echo "No display: the demo runs on Qt's $QT_QPA_PLATFORM platform."
fi

echo "quarra-qt-demo ${mode[*]:-(interactive)}; the library's console lines follow."
set +e
"$demo" "${mode[@]}" --service-url "$url" --ca-file "$ca_file" --data-dir "$work/client" \
  --assume-online --screenshots "$shots" 2>&1 | sed 's/^/  /'
demo_status=${PIPESTATUS[0]}
set -e

echo
"$cli" summary --service-url "$url" --ca-file "$ca_file"
missing=()
if ((${#mode[@]} > 0)); then
  stored="$(stored_sessions)"
  for marker in "${expected[@]}"; do
    grep -qF "$marker" <<<"$stored" || missing+=("$marker")
  done
fi
stop_service
echo
if ((demo_status != 0)); then
  echo "demo-qt: quarra-qt-demo ended with exit code $demo_status" >&2
  exit "$demo_status"
fi
if ((${#missing[@]} > 0)); then
  echo "demo-qt: the service did not receive: ${missing[*]}" >&2
  exit 1
fi
if ((${#mode[@]} > 0)); then
  echo "The service holds all ${#expected[@]} expected signals: fields typed in, buttons, screens and the order."
fi
echo "Screenshots of each screen are in: $shots"
echo "The demo took $((SECONDS - started_at)) s (files kept in $work)."
