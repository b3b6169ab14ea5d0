#!/usr/bin/env bash
# Checks the API reference of the public headers:
#
#  1. Doxygen (docs/Doxyfile) builds it with no warning at all; an
#     undocumented public class, function, member, enumerator or typedef is
#     a warning, and so is a broken reference.
#  2. Every public header that declares a class or struct says on which
#     thread it may be used, how long things live, and whether it blocks: the
#     words "Thread", "Lifetime" and "Block" each appear in its comments.
#
# The HTML goes to $QUARRA_DOCS_OUT when set (e.g. build/docs), else to a
# temporary directory that is removed afterwards. Exits non-zero, with the
# list of problems, when either check fails.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

header_dirs=(include/quarra adapters/qt/include/quarra/qt)
words=(Thread Lifetime Block)

if ! command -v doxygen >/dev/null 2>&1; then
  echo "check-reference: doxygen is not installed; install doxygen (scripts/setup.sh)" >&2
  exit 2
fi

# WARN_AS_ERROR = FAIL_ON_WARNINGS needs Doxygen 1.9 or later.
version="$(doxygen --version | sed -E 's/[^0-9.].*$//')"
major="${version%%.*}"
minor_rest="${version#*.}"
minor="${minor_rest%%.*}"
if [[ -z "$major" || -z "$minor" ]] || ((major < 1 || (major == 1 && minor < 9))); then
  echo "check-reference: doxygen $version is too old (1.9 or later is needed); install doxygen (scripts/setup.sh)" >&2
  exit 2
fi

failed=0

# ---- 1. Doxygen, warnings as errors ----

keep_output=1
if [[ -z "${QUARRA_DOCS_OUT:-}" ]]; then
  keep_output=0
  QUARRA_DOCS_OUT="$(mktemp -d "${TMPDIR:-/tmp}/quarra-docs.XXXXXX")"
fi
export QUARRA_DOCS_OUT
mkdir -p "$QUARRA_DOCS_OUT"
log="$(mktemp "${TMPDIR:-/tmp}/quarra-docs-log.XXXXXX")"
cleanup() {
  rm -f "$log"
  if ((keep_output == 0)); then rm -rf "$QUARRA_DOCS_OUT"; fi
}
trap cleanup EXIT

echo "check-reference: doxygen $version -> $QUARRA_DOCS_OUT"
doxygen_status=0
doxygen docs/Doxyfile >"$log" 2>&1 || doxygen_status=$?
if ((doxygen_status != 0)) || [[ -s "$log" ]]; then
  echo "check-reference: Doxygen reported problems (exit status $doxygen_status):" >&2
  sed "s|$root/||" "$log" >&2
  echo "check-reference: document every public item (see docs/reference.md for the form)" >&2
  failed=1
else
  echo "check-reference: Doxygen: no warnings"
fi

# ---- 2. Thread, Lifetime and Block in every header with a class ----

# A class or struct definition (not a forward declaration, friend or enum class).
declares_class() {
  grep -Eq '^[[:space:]]*(template[[:space:]]*<.*>[[:space:]]*)?(class|struct)[[:space:]]+([A-Z_]+_API[[:space:]]+)?[A-Za-z_][A-Za-z0-9_]*([[:space:]]+final)?[[:space:]]*(:[^;]*)?(\{.*)?$' "$1"
}

# The file's comment lines only, so that code (QThread, ...) does not count.
comment_lines() {
  grep -E '^[[:space:]]*(/\*|\*|//)|//' "$1" || true
}

missing=()
checked=0
while IFS= read -r -d '' header; do
  declares_class "$header" || continue
  checked=$((checked + 1))
  comments="$(comment_lines "$header")"
  absent=()
  for word in "${words[@]}"; do
    grep -Eq "(^|[^A-Za-z])$word" <<<"$comments" || absent+=("$word")
  done
  if ((${#absent[@]})); then
    missing+=("$header: no ${absent[*]}")
  fi
done < <(find "${header_dirs[@]}" -name '*.hpp' -print0 | sort -z)

if ((${#missing[@]})); then
  echo "check-reference: these headers declare a class but do not say ${words[*]}:" >&2
  printf '  %s\n' "${missing[@]}" >&2
  failed=1
else
  echo "check-reference: $checked headers with classes state ${words[*]}"
fi

if ((failed)); then
  echo "check-reference: FAILED" >&2
  exit 1
fi
if ((keep_output)); then
  echo "check-reference: OK; open $QUARRA_DOCS_OUT/html/index.html"
else
  echo "check-reference: OK"
fi
