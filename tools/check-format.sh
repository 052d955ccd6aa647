#!/usr/bin/env bash
# Fails, naming the files, when a C++ file of the project is out of the format .clang-format
# gives (Debian's clang-format). Fix with: clang-format -i <file>
set -euo pipefail
cd "$(dirname "$0")/.."
if ! git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror; then
    echo "check-format: the files above are out of format; run clang-format -i on them" >&2
    exit 1
fi
echo "check-format: every C++ file is in format"
