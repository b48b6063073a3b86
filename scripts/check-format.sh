#!/bin/sh
# Checks that every C++ source keeps the project's .clang-format; with --fix, formats them.
# Usage: scripts/check-format.sh [--fix] [CLANG_FORMAT]
set -eu
fix=no
if [ "${1:-}" = "--fix" ]; then fix=yes; shift; fi
clang_format=${1:-clang-format}
if ! command -v "$clang_format" >/dev/null 2>&1; then
    echo "$clang_format is not installed: not checked" >&2
    exit 77 # ctest's skip
fi
cd "$(dirname "$0")/.."
files=$(find src tests bench fuzz resources/tools -name '*.cpp' -o -name '*.h' | sort)
if [ "$fix" = yes ]; then
    # shellcheck disable=SC2086
    "$clang_format" -i $files
else
    # shellcheck disable=SC2086
    "$clang_format" --dry-run --Werror $files
fi
