#!/bin/sh
# A prefix install puts the game (in games) and the three tools for authors (in bin)
# on the PATH, with a manual page each (when scdoc was there to build them), and the
# tools find the installed story by default; the player's guide lies in the game's
# program folder.
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
PATH="$prefix/bin:$prefix/games:$PATH"
for command in games/velmora2 bin/velmora2-play bin/velmora2-check bin/velmora2-story; do
    [ -x "$prefix/$command" ] || { echo "not installed: $command"; exit 1; }
done
velmora2-story --help >/dev/null
velmora2-check | tail -n 1 | grep -q "^velmora2-check: 0 errors"
# The launcher passes the player's story on in either form, instead of its own.
for form in "--data $prefix" "--data=$prefix"; do
    # shellcheck disable=SC2086 # the first form is two arguments
    out=$(velmora2 $form 2>&1) && { echo "velmora2 $form took a folder without dat2"; exit 1; }
    echo "$out" | grep -q "holds no dat2" || { echo "the launcher lost $form: $out"; exit 1; }
done
# HELP opens the player's guide from the program folder.
[ -f "$prefix/lib/games/velmora2/vm2-guide.html" ] || { echo "no player's guide"; exit 1; }
if [ -d "$build/docs/man" ]; then
    for page in man6/velmora2.6 man1/velmora2-play.1 man1/velmora2-check.1 man1/velmora2-story.1; do
        gzip -t "$prefix/share/man/$page.gz" || { echo "no manual page $page"; exit 1; }
    done
fi
echo "installed: 4 commands on the PATH"
