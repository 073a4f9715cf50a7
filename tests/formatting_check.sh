#!/usr/bin/env bash
# formatting_check.sh SOURCE_DIR: every tracked C++ file is as clang-format (the repository's
# .clang-format) would leave it; a file it would change is named with the lines. Skipped (77)
# without git, a checkout or clang-format.
set -eu
command -v clang-format >/dev/null && command -v git >/dev/null || exit 77
cd "$1" && git rev-parse --is-inside-work-tree >/dev/null 2>&1 || exit 77
git ls-files -z -- '*.cpp' '*.h' | xargs -0 -r clang-format --dry-run -Werror
