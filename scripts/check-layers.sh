#!/usr/bin/env bash
# Fails when a file under src/ includes a header from a layer above its own. Layers, lowest
# first: text and platform, table, view and workbook, edit, the window models (app, viewer,
# search, sort) and the command-line program, and at the top the Qt code (ui/ and every
# *_window.*, *_widget.*, qt_*.*). A feature (search, sort, viewer) includes neither app/ nor
# another feature.
set -euo pipefail
src="${1:-$(dirname "$0")/../src}"

rank_of_folder() {
    case "$1" in
    text | platform) echo 0 ;;
    table) echo 1 ;;
    view | workbook) echo 2 ;;
    edit) echo 3 ;;
    app | viewer | search | sort | cli) echo 4 ;;
    ui) echo 5 ;;
    *) echo 9 ;;
    esac
}

# The features: each reaches the main window only through link interfaces of its own, so
# none of their files (Qt files included) includes app/ or another feature.
is_feature() {
    case "$1" in
    search | sort | viewer | record) return 0 ;;
    *) return 1 ;;
    esac
}

rank_of_file() { # path relative to src/
    local name=${1##*/}
    case "$name" in
    *_window.* | *_widget.* | qt_* | main.cpp) echo 5 ;;
    *) rank_of_folder "${1%%/*}" ;;
    esac
}

status=0
cd "$src"
while IFS= read -r file; do
    own=$(rank_of_file "$file")
    while IFS= read -r header; do
        [ -n "$header" ] || continue
        [ -e "$header" ] || continue
        theirs=$(rank_of_file "$header")
        if [ "$theirs" -gt "$own" ]; then
            echo "$file includes $header, a layer above its own" >&2
            status=1
        fi
        if is_feature "${file%%/*}" && [ "${header%%/*}" != "${file%%/*}" ] &&
            { [ "${header%%/*}" = app ] || is_feature "${header%%/*}"; }; then
            echo "$file includes $header: a feature leans on app/ or on another feature" >&2
            status=1
        fi
        # Layers of one rank do not lean on each other, except text and platform on text.
        if [ "$theirs" -eq "$own" ] && [ "${header%%/*}" != "${file%%/*}" ] &&
            [ "${header%%/*}" != text ] && [ "$own" -ne 4 ] && [ "$own" -ne 5 ]; then
            echo "$file includes $header, from a neighbouring layer" >&2
            status=1
        fi
    done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
done < <(find . -name '*.h' -o -name '*.cpp' -o -name '*.inc' | sed 's#^\./##' | sort)
[ "$status" -eq 0 ] && echo "layers: every include points downward"
exit "$status"
