#!/usr/bin/env bash
# Fails when a text of the program is missing from a translation file (or one is there that the
# program no longer has), or when a translation is unfinished. Usage: check-translations.sh [LUPDATE]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
lupdate="${1:-$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
status=0
shopt -s nullglob
files=("$root"/translations/tolvane_*.ts)
if [ ${#files[@]} -eq 0 ]; then
  echo "check-translations: no translation files in $root/translations" >&2
  exit 1
fi
for ts in "${files[@]}"; do
  name="$(basename "$ts")"
  cp "$ts" "$work/$name"
  (cd "$root" && "$lupdate" -silent -locations none -no-obsolete -extensions cpp,h -tr-function-alias translate+=TranslatedText src -ts "$work/$name") >/dev/null
  if ! cmp -s "$ts" "$work/$name"; then
    echo "check-translations: $name does not hold exactly the program's texts; run tools/update-translations.sh:" >&2
    diff -u "$ts" "$work/$name" | grep '^[-+] *<source>' | head -20 >&2 || true
    status=1
  fi
  unfinished="$(grep -c 'type="unfinished"' "$work/$name" || true)"
  if [ "$unfinished" -gt 0 ]; then
    echo "check-translations: $name has $unfinished unfinished entries" >&2
    grep -B2 'type="unfinished"' "$work/$name" | grep '<source>' | head -10 >&2 || true
    status=1
  fi
done
exit $status
