#!/usr/bin/env bash
# Checks that the C and C++ sources changed since BASE (argument, or the
# commit named in scripts/format-base, at which the whole tree was formatted)
# are formatted as .clang-format says, with the clang-format that setup
# installs. Files changed in the working tree count too. Generated tables
# (*.inc) are left as their generators write them. Prints the files that
# differ, and how to fix them, and exits non-zero when there are any.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
cd "$src"

formatter=$(command -v clang-format-14 || command -v clang-format || true)
if [ -z "$formatter" ]; then
    echo "check-format: clang-format is not installed (scripts/setup.sh installs it)" >&2
    exit 1
fi
base=${1:-$(tr -d '[:space:]' < scripts/format-base)}
if ! git rev-parse -q --verify "$base^{commit}" >/dev/null; then
    echo "check-format: $base is not a commit of this repository (a shallow clone?)" >&2
    exit 1
fi

mapfile -t changed < <({ git diff --name-only --diff-filter=AMR "$base" -- '*.cpp' '*.h' '*.c';
                         git ls-files --others --exclude-standard -- '*.cpp' '*.h' '*.c'; } | sort -u)
bad=()
for file in "${changed[@]}"; do
    [ -f "$file" ] || continue
    if ! "$formatter" --style=file "$file" | cmp -s - "$file"; then bad+=("$file"); fi
done
if [ ${#bad[@]} -gt 0 ]; then
    printf '  %s\n' "${bad[@]}" >&2
    echo "check-format: ${#bad[@]} changed file(s) differ from .clang-format; fix with: $formatter -i FILE..." >&2
    exit 1
fi
