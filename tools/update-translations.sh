#!/usr/bin/env bash
# Brings every translations/tolvane_*.ts file up to the program's texts: new texts are added
# unfinished, texts no longer in the program are dropped. Run it after changing a text, then
# translate the new entries (Qt Linguist, or by hand) until tools/check-translations.sh passes.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
lupdate="${1:-$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)}"
cd "$root"
"$lupdate" -silent -locations none -no-obsolete -extensions cpp,h -tr-function-alias translate+=TranslatedText src -ts translations/tolvane_*.ts
