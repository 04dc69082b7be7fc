#!/usr/bin/env bash
# Checks that every tracked C++ file under src, tests, bench, fuzz and tools is formatted
# as .clang-format says. Lists the files that are not and exits non-zero.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

if ! command -v clang-format >/dev/null; then
  echo "clang-format is not installed (scripts/install-deps.sh installs it)" >&2
  exit 2
fi

tracked=$(git ls-files -- '*.cpp' '*.h')
mapfile -t files < <(grep -E '^(src|tests|bench|fuzz|tools)/' <<<"$tracked" || true)
if [ ${#files[@]} -eq 0 ]; then
  echo "No C++ files found to check" >&2
  exit 2
fi

# Each file is checked on its own so that every unformatted file is named; in parallel.
# shellcheck disable=SC2016 # $f belongs to the inner shell
check_each='for f; do clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || echo "$f"; done'
mapfile -t bad < <(printf '%s\0' "${files[@]}" | xargs -0 -P "$(nproc)" -n 16 sh -c "$check_each" _ | sort)

if [ ${#bad[@]} -gt 0 ]; then
  echo "Not formatted (${#bad[@]} files):" >&2
  printf '  %s\n' "${bad[@]}" >&2
  echo "Fix with: clang-format -i ${bad[*]}" >&2
  exit 1
fi
echo "Format: ${#files[@]} files OK"
