#!/bin/sh
# Starts the game from its program folder, where it finds its dat1 and dat2.
here=$(dirname "$(readlink -f "$0")")
exec "$here/../lib/velmora2/velmora2" "$@"
