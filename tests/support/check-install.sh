#!/bin/sh
# A prefix install puts the game and the three tools for authors on the PATH, with a
# manual page each (when scdoc was there to build them), and the tools find the
# installed story by default.
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
PATH="$prefix/bin:$PATH"
for command in velmora2 velmora2-play velmora2-check velmora2-story; do
    [ -x "$prefix/bin/$command" ] || { echo "not installed: bin/$command"; exit 1; }
done
velmora2-story --help >/dev/null
velmora2-check | tail -n 1 | grep -q "^velmora2-check: 0 errors"
velmora2 --data "$prefix" 2>/dev/null && { echo "velmora2 --data took a folder without dat2"; exit 1; }
if [ -d "$build/docs/man" ]; then
    for page in man6/velmora2.6 man1/velmora2-play.1 man1/velmora2-check.1 man1/velmora2-story.1; do
        gzip -t "$prefix/share/man/$page.gz" || { echo "no manual page $page"; exit 1; }
    done
fi
echo "installed: 4 commands on the PATH"
