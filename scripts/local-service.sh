# Sourced by the demo scripts: starts quarra-service on a free port with a
# fresh data directory under $work, and sets $url and $ca_file from its
# first line. stop_service stops it again.
service_pid=""

stop_service() {
  if [[ -n "$service_pid" ]] && kill -0 "$service_pid" 2>/dev/null; then
    kill -TERM "$service_pid"
    wait "$service_pid" 2>/dev/null || true
  fi
  service_pid=""
}

start_service() {  # start_service SERVICE_BINARY
  "$1" --port 0 --data-dir "$work/service" --quiet >"$work/service.out" 2>"$work/service.err" &
  service_pid=$!
  # The service's first line on stdout says where it listens and which CA to trust.
  local line=""
  for _ in $(seq 1 300); do
    line="$(head -n 1 "$work/service.out" 2>/dev/null || true)"
    [[ "$line" == *'"url"'*'}' ]] && break
    if ! kill -0 "$service_pid" 2>/dev/null; then
      echo "demo: quarra-service did not start:" >&2
      cat "$work/service.err" >&2
      exit 1
    fi
    sleep 0.1
  done
  url="$(sed -n 's/.*"url":"\([^"]*\)".*/\1/p' <<<"$line")"
  ca_file="$(sed -n 's/.*"caFile":"\([^"]*\)".*/\1/p' <<<"$line")"
  if [[ -z "$url" || -z "$ca_file" ]]; then
    echo "demo: quarra-service did not say where it listens (got: $line)" >&2
    exit 1
  fi
}
