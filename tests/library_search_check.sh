#!/usr/bin/env bash
# Every program and library the build made looks for libraries only in folders named in full
# or from its own folder ($ORIGIN). The loader reads an empty or relative entry of RUNPATH or
# RPATH from the working folder, where a library anyone put would run in the program.
#   library_search_check.sh BUILD_DIR
set -euo pipefail

reads_the_working_folder() {  # RUNPATH
    [[ ":$1:" != *::* ]] || return 0
    IFS=: read -ra entries <<<"$1"
    for entry in "${entries[@]}"; do
        case "$entry" in /* | '$ORIGIN' | '$ORIGIN/'*) ;; *) return 0 ;; esac
    done
    return 1
}

searching=0
while IFS= read -r -d '' file; do
    [ "$(head -c 4 "$file")" = $'\x7fELF' ] || continue
    path=$(readelf -d "$file" | sed -n 's/.*(R\(UN\)\{0,1\}PATH).*\[\(.*\)\]$/\2/p')
    [ -n "$path" ] || continue
    searching=$((searching + 1))
    ! reads_the_working_folder "$path" || { echo "FAILED: $file searches [$path]" >&2 && exit 1; }
done < <(find "$1" -type f \( -perm -u+x -o -name '*.so*' \) -print0)
[ "$searching" -gt 0 ] || { echo "FAILED: nothing in $1 names a library folder" >&2 && exit 1; }
echo "$searching programs and libraries search only their own folders and folders named in full"
