#!/usr/bin/env bash
# Extracts every message of the program (the arguments of i18n() and I18N_NOOP()) and merges
# them into each language's data/locale/<language>/quorvel.po, keeping what is translated
# already. Run from anywhere; then translate the new entries.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
pot="$work/quorvel.pot"
cd "$root"
find src -name '*.cpp' -o -name '*.h' | LC_ALL=C sort >"$work/sources"
xgettext --language=C++ --from-code=UTF-8 --keyword=i18n --keyword=I18N_NOOP \
  --package-name=Quorvel --no-wrap --sort-by-file --add-comments=TRANSLATORS: \
  --files-from="$work/sources" -o "$pot"
for po in "$root"/data/locale/*/quorvel.po; do
  [ -e "$po" ] || continue
  msgmerge --quiet --update --backup=none --no-wrap --no-fuzzy-matching "$po" "$pot"
  msgattrib --no-obsolete --no-wrap -o "$po" "$po"
done
