#!/usr/bin/env bash
# check-no-widget-symbols.sh WIDGETS_LIBRARY --none ARCHIVE... [--some ARCHIVE...]
# Fails when an archive after --none has an undefined symbol that the widget toolkit's shared
# library defines (it would need that library to link), or when an archive after --some has none
# (the check would then find nothing anywhere). Names each offending archive and its symbols.
set -euo pipefail
widgets=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Symbol versions ("@@Qt_6") are not part of the name an archive refers to.
nm -D --defined-only "$widgets" | awk 'NF >= 3 && $2 != "A" { sub(/@.*/, "", $3); print $3 }' | sort -u >"$work/widgets"
if [ ! -s "$work/widgets" ]; then
    echo "no symbols read from $widgets" >&2
    exit 1
fi
mode=""
failed=0
for arg in "$@"; do
    case "$arg" in
    --none | --some) mode=$arg; continue ;;
    esac
    nm --undefined-only "$arg" 2>/dev/null | awk 'NF >= 2 && $1 == "U" { print $2 }' | sort -u >"$work/undefined"
    comm -12 "$work/undefined" "$work/widgets" >"$work/found"
    count=$(wc -l <"$work/found")
    if [ "$mode" = "--none" ] && [ "$count" -gt 0 ]; then
        echo "$(basename "$arg") refers to $count symbols of the widget toolkit:" >&2
        c++filt <"$work/found" | head -n 20 | sed 's/^/    /' >&2
        failed=1
    elif [ "$mode" = "--some" ] && [ "$count" -eq 0 ]; then
        echo "$(basename "$arg") refers to no widget symbol: the check cannot see them" >&2
        failed=1
    else
        echo "$(basename "$arg"): $count widget symbols (${mode#--} expected)"
    fi
done
exit $failed
