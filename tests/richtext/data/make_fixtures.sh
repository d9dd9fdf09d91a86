#!/usr/bin/env bash
# Writes the third-party fixtures of the rich text tests again from the sources beside this script:
# enscript (--language=rtf) and latex2rtf, as Debian packages them. The results are committed, so
# the tests don't need the two programs; run this after changing a source.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

enscript --quiet --language=rtf -o enscript_plain.rtf sources/enscript_plain.txt
enscript --quiet --language=rtf --color --highlight=c -o enscript_highlight.rtf sources/enscript_highlight.c
for name in latex2rtf_styles latex2rtf_unicode; do
    cp "sources/$name.tex" "$work/"
    (cd "$work" && latex2rtf "$name.tex" >/dev/null 2>&1)
    cp "$work/$name.rtf" "$name.rtf"
done
