#!/usr/bin/env bash
# Extracts every message of the program (the arguments of i18n() and I18N_NOOP()) into
# data/locale/quorvel.pot and merges it into each language's quorvel.po, keeping what is
# translated already. Run from anywhere; then translate the new entries.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
pot="$root/data/locale/quorvel.pot"
cd "$root"
find src -name '*.cpp' -o -name '*.h' | LC_ALL=C sort >"$root/data/locale/.sources"
xgettext --language=C++ --from-code=UTF-8 --keyword=i18n --keyword=I18N_NOOP \
  --package-name=Quorvel --no-wrap --sort-by-file --add-comments=TRANSLATORS: \
  --files-from="$root/data/locale/.sources" -o "$pot"
rm -f "$root/data/locale/.sources"
for po in "$root"/data/locale/*/quorvel.po; do
  [ -e "$po" ] || continue
  msgmerge --quiet --update --backup=none --no-wrap --no-fuzzy-matching "$po" "$pot"
  msgattrib --no-obsolete --no-wrap -o "$po" "$po"
done
