#!/usr/bin/env bash
# Proves that the libraries under src/ form no cycle: each folder may include headers of,
# and link to, only the folders listed before it in src/CMakeLists.txt; and that inside
# pet no files include each other in a cycle. Prints every offence and fails when there is one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mapfile -t order < <(sed -n 's/^add_subdirectory(\([a-z0-9_]*\))$/\1/p' "$root/src/CMakeLists.txt")
if [ "${#order[@]}" -eq 0 ]; then
  echo "check-layers: no libraries found in src/CMakeLists.txt" >&2
  exit 1
fi

declare -A rank
for i in "${!order[@]}"; do rank[${order[$i]}]=$i; done

bad=0
for lib in "${order[@]}"; do
  dir="$root/src/$lib"
  [ -d "$dir" ] || continue
  mine=${rank[$lib]}
  # Headers of other libraries: #include "other/File.h".
  while IFS=: read -r file line text; do
    other=$(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([a-z0-9_]*\)\/.*/\1/p' <<<"$text")
    [ -n "$other" ] || continue
    [ -n "${rank[$other]+x}" ] || continue
    if [ "${rank[$other]}" -gt "$mine" ]; then
      echo "${file#"$root"/}:$line: $lib includes $other, which sits above it: $text"
      bad=1
    fi
  done < <(grep -rnH --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$dir" || true)
  # Links: tamsel_<other> named in the folder's CMakeLists.txt.
  if [ -f "$dir/CMakeLists.txt" ]; then
    for other in $(grep -v '^[[:space:]]*#' "$dir/CMakeLists.txt" | grep -o 'tamsel_[a-z0-9_]*' | sed 's/^tamsel_//' | sort -u); do
      [ -n "${rank[$other]+x}" ] || continue
      if [ "${rank[$other]}" -gt "$mine" ]; then
        echo "src/$lib/CMakeLists.txt: $lib links to $other, which sits above it"
        bad=1
      fi
    done
  fi
done

# A folder under src/ that the list leaves out would escape the check.
for dir in "$root"/src/*/; do
  name=$(basename "$dir")
  if [ -z "${rank[$name]+x}" ]; then
    echo "src/$name is not listed in src/CMakeLists.txt"
    bad=1
  fi
done

# Within pet, a header and its source file form one unit; no unit may reach itself through
# the includes of others, so each can be read, built and tested on top of those it names.
for lib in pet; do
  dir="$root/src/$lib"
  edges=$(grep -rHo --include='*.h' --include='*.cpp' "^[[:space:]]*#[[:space:]]*include[[:space:]]*\"$lib/[^\"]*\.h\"" "$dir" \
    | sed -E "s|^$dir/([^:]*)\.(h\|cpp):.*\"$lib/([^\"]*)\.h\"$|\1 \3|" | awk '$1 != $2' | sort -u || true)
  if ! loop=$(printf '%s\n' "$edges" | tsort 2>&1 >/dev/null); then
    echo "src/$lib: these files include each other in a cycle:$(sed -n 's/^tsort: \([^-].*\)$/ \1/p' <<<"$loop" | grep -v 'input contains a loop' | tr -d '\n')"
    bad=1
  fi
done

if [ "$bad" -ne 0 ]; then
  echo "check-layers: a library reaches one above it, or files in pet include each other (order: ${order[*]})" >&2
  exit 1
fi
echo "check-layers: ${#order[@]} libraries, no upward include or link, no include cycle in pet"
