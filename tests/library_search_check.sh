#!/usr/bin/env bash
# library_search_check.sh BUILD_DIR: every program and library the build made looks for
# libraries only in folders named in full or from its own ($ORIGIN). The loader reads an empty
# or relative entry of RUNPATH or RPATH from the working folder, where anyone may put one.
set -eu
found=0
while IFS= read -r -d '' file; do
    path=$(readelf -d "$file" 2>/dev/null | sed -n 's/.*(R\(UN\)\{0,1\}PATH).*\[\(.*\)\]$/\2/p')
    [ -n "$path" ] && found=$((found + 1)) || continue
    ! tr : '\n' <<<"$path" | grep -qvE '^(/|\$ORIGIN(/|$))' ||
        { echo "FAILED: $file searches [$path]"; exit 1; }
done < <(find "$1" -type f \( -perm -u+x -o -name '*.so*' \) -print0)
[ "$found" -gt 0 ] || { echo "FAILED: nothing in $1 names where its libraries are"; exit 1; }
