#!/usr/bin/env bash
# The layer check on scratch source trees: a clean tree passes, and each tree holding one fault
# fails with a message naming the file, the header and why.
# Usage: check_layers_test.sh CHECK_SCRIPT
set -uo pipefail
check=${1:?usage: check_layers_test.sh path/to/check-layers.sh}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

cat >"$scratch/layers.txt" <<'EOF'
# scratch table: lowest first
text
table
view workbook   # one rank
search sort
app
ui
cli
EOF

put() { # put FILE LINE...: writes src/FILE of the current tree
    mkdir -p "$tree/src/$(dirname "$1")"
    local file=$1
    shift
    printf '%s\n' "$@" >"$tree/src/$file"
}

# A tree that keeps every rule, written to $tree.
clean_tree() {
    tree="$scratch/$1"
    put text/bytes.h '#pragma once' '#include <vector>'
    put table/grid.h '#pragma once' '#include "text/bytes.h"'
    put table/grid.cpp '#include "grid.h"' '#include "table/grid.h"'
    put view/cells.h '#include "table/grid.h"'
    put workbook/book.h '#include "../table/grid.h"'
    put search/find.h '#include "view/cells.h"' '#include "workbook/book.h"'
    put search/search_window.h '#include "search/find.h"' '#include "ui/grid_widget.h"'
    put sort/order.h '#include "table/grid.h"'
    put sort/qt_sort_view.h '#include "sort/order.h"'
    put app/main_model.h '#include "search/find.h"' '#include "sort/order.h"'
    put app/main_window.cpp '#include "app/main_model.h"' '#include "search/search_window.h"' \
        '#include "sort/qt_sort_view.h"' '#include "ui/grid_widget.h"'
    put app/main.cpp '#include "app/main_window.h"' '#include "search/search_window.h"'
    put ui/grid_widget.h '#include "view/cells.h"' '#include "ui/qt_text.h"'
    put ui/qt_text.h '#pragma once'
    put cli/cli.cpp '#include "app/main_model.h"' '#include "search/find.h"'
}

# expect NAME EXPECTED_MESSAGE: the check fails on tree NAME with exactly one fault, reported
# by EXPECTED_MESSAGE.
expect() {
    local out rc
    out=$(bash "$check" --layers "$scratch/layers.txt" "$scratch/$1/src" 2>&1)
    rc=$?
    if [ "$rc" -ne 1 ]; then
        echo "FAIL $1: exit $rc, expected 1"$'\n'"$out"
        failures=$((failures + 1))
    elif ! grep -qF -- "$2" <<<"$out"; then
        echo "FAIL $1: no line with: $2"$'\n'"$out"
        failures=$((failures + 1))
    elif ! grep -qF 'layers: 1 fault(s)' <<<"$out"; then
        echo "FAIL $1: expected exactly one fault"$'\n'"$out"
        failures=$((failures + 1))
    else
        echo "ok   $1: $(grep -F -- "$2" <<<"$out")"
    fi
}

clean_tree clean
if ! out=$(bash "$check" --layers "$scratch/layers.txt" "$scratch/clean/src" 2>&1); then
    echo "FAIL clean: the clean tree is refused"$'\n'"$out"
    failures=$((failures + 1))
else
    echo "ok   clean: $out"
fi

clean_tree upward
put table/grid.cpp '#include "table/grid.h"' '#include "search/find.h"'
expect upward 'table/grid.cpp:2: includes search/find.h: search (rank 3) is a higher layer than table (rank 1)'

clean_tree relative_upward
put view/cells.h '#include "table/grid.h"' '#include "../app/main_model.h"'
expect relative_upward 'view/cells.h:2: includes app/main_model.h: app (rank 4) is a higher layer than view'

clean_tree feature_to_feature
put sort/order.h '#include "table/grid.h"' '#include "search/find.h"'
expect feature_to_feature 'sort/order.h:2: includes search/find.h: search and sort share rank 3'

clean_tree view_to_workbook
put view/cells.h '#include "workbook/book.h"'
expect view_to_workbook 'view/cells.h:1: includes workbook/book.h: workbook and view share rank 2'

clean_tree missing_folder
put extra/thing.h '#include "table/grid.h"'
expect missing_folder 'src/extra/: folder missing from the layer table'

clean_tree indented
put text/bytes.h '#pragma once' '    #include "table/grid.h"'
expect indented 'text/bytes.h:2: includes table/grid.h: table (rank 1) is a higher layer than text'

clean_tree indented_tab_hash
put table/grid.h '#pragma once' $'\t#  include "view/cells.h"'
expect indented_tab_hash 'table/grid.h:2: includes view/cells.h: view (rank 2) is a higher layer than table'

clean_tree free_includes_ui
put search/find.h '#include "view/cells.h"' '#include "ui/qt_text.h"'
expect free_includes_ui 'search/find.h:2: includes ui/qt_text.h: a toolkit-free file includes a Qt file'

clean_tree free_includes_own_window
put search/find_extra.cpp '#include "search/search_window.h"'
expect free_includes_own_window 'search/find_extra.cpp:1: includes search/search_window.h: a toolkit-free file includes a Qt file'

clean_tree free_app_includes_feature_window
put app/main_model.h '#include "search/search_window.h"'
expect free_app_includes_feature_window 'app/main_model.h:1: includes search/search_window.h: a toolkit-free file includes a Qt file'

clean_tree feature_window_includes_app
put search/search_window.h '#include "search/find.h"' '#include "app/main_model.h"'
expect feature_window_includes_app 'search/search_window.h:2: includes app/main_model.h: app (rank 4) is a higher layer than search (rank 3)'

clean_tree feature_window_includes_feature_window
put sort/qt_sort_view.h '#include "search/search_window.h"'
expect feature_window_includes_feature_window 'sort/qt_sort_view.h:1: includes search/search_window.h: search and sort share rank 3'

clean_tree ui_includes_app_window
put ui/qt_text.h '#include "app/main_window.h"'
put app/main_window.h '#pragma once'
expect ui_includes_app_window "ui/qt_text.h:1: includes app/main_window.h: ui/ is shared by every Qt file and includes no other folder's Qt file"

clean_tree app_includes_cli
put cli/cli_args.h '#pragma once'
put app/main_model.h '#include "cli/cli_args.h"'
expect app_includes_cli 'app/main_model.h:1: includes cli/cli_args.h: cli (rank 6) is a higher layer than app (rank 4)'

# The graph: one line an edge with its include count, the faulty ones marked.
graph=$(bash "$check" --graph --layers "$scratch/layers.txt" "$scratch/upward/src" 2>&1)
for line in 'table -> search (1)  <-- up' 'table -> text (1)' 'app -> search (3)' 'cli -> app (1)'; do
    if ! grep -qxF -- "$line" <<<"$graph"; then
        echo "FAIL graph: no line '$line'"$'\n'"$graph"
        failures=$((failures + 1))
    fi
done
if grep -q 'table -> table' <<<"$graph"; then
    echo "FAIL graph: an edge from a folder to itself"$'\n'"$graph"
    failures=$((failures + 1))
fi

# A folder named twice in the table is a broken table, not a pass.
printf 'text\ntable text\n' >"$scratch/twice.txt"
if bash "$check" --layers "$scratch/twice.txt" "$scratch/clean/src" >/dev/null 2>&1; then
    echo "FAIL twice: a table naming a folder twice is accepted"
    failures=$((failures + 1))
fi

[ "$failures" -eq 0 ] && echo "check-layers: every scratch tree judged right"
exit $((failures > 0))
