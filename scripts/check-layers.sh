#!/usr/bin/env bash
# Checks the includes under src/ against the layer table (cmake/layers.txt; CMake builds the
# libraries from the same table). Fails, naming the file, the header and why, when
#   - a file includes a header of a higher rank, or of another folder of its own rank;
#   - a folder under src/ is missing from the table;
#   - a toolkit-free file includes a Qt file (ui/, *_window.*, *_widget.*, qt_*.*, main.cpp).
# A Qt file may include what a toolkit-free file of its folder may, plus ui/ and the Qt files
# of its own folder and of lower ranks (the main window creates the features' windows); ui/,
# shared by every Qt file, includes no other folder's Qt file.
#
# Usage: check-layers.sh [--graph] [--layers TABLE] [SRC_DIR]
#   SRC_DIR  defaults to src/ beside this script; TABLE to SRC_DIR/../cmake/layers.txt.
#   --graph  prints the folder -> folder include edges instead (with how many includes make
#            each), marking the edges that hold a fault.
set -euo pipefail

graph=0
table=""
src=""
while [ $# -gt 0 ]; do
    case "$1" in
    --graph) graph=1 ;;
    --layers)
        [ $# -ge 2 ] || { echo "check-layers: --layers needs a file" >&2; exit 2; }
        table=$2
        shift
        ;;
    -h | --help)
        sed -n '2,14s/^# \{0,1\}//p' "$0"
        exit 0
        ;;
    -*) echo "check-layers: unknown option $1" >&2; exit 2 ;;
    *) src=$1 ;;
    esac
    shift
done
[ -n "$src" ] || src="$(dirname "$0")/../src"
[ -d "$src" ] || { echo "check-layers: no source folder $src" >&2; exit 2; }
[ -n "$table" ] || table="$src/../cmake/layers.txt"
[ -f "$table" ] || { echo "check-layers: no layer table $table" >&2; exit 2; }
table="$(cd "$(dirname "$table")" && pwd)/$(basename "$table")"

# rank[folder]: the line of the table it stands on, 0 lowest.
declare -A rank=()
n=0
while IFS= read -r line || [ -n "$line" ]; do
    line=${line%%#*}
    read -r -a folders <<<"$line" || true
    [ ${#folders[@]} -gt 0 ] || continue
    for folder in "${folders[@]}"; do
        if [ -n "${rank[$folder]+set}" ]; then
            echo "check-layers: $table names $folder twice" >&2
            exit 2
        fi
        rank[$folder]=$n
    done
    n=$((n + 1))
done <"$table"

qt_folder=ui
is_qt() { # path relative to src/
    local name=${1##*/}
    case "$1" in "$qt_folder"/*) return 0 ;; esac
    case "$name" in *_window.* | *_widget.* | qt_* | main.cpp) return 0 ;; esac
    return 1
}

# Normalises a path relative to src/ ("a/./b/../c" -> "a/c") into REPLY; fails when it
# leaves src/.
normalise() {
    local rest=$1 part
    local -a out=()
    while [ -n "$rest" ]; do
        part=${rest%%/*}
        if [ "$part" = "$rest" ]; then rest=""; else rest=${rest#*/}; fi
        case "$part" in
        "" | .) ;;
        ..)
            [ ${#out[@]} -gt 0 ] || return 1
            unset 'out[${#out[@]}-1]'
            ;;
        *) out+=("$part") ;;
        esac
    done
    local IFS=/
    REPLY="${out[*]}"
}

cd "$src"
faults=0
fault() {
    faults=$((faults + 1))
    [ "$graph" -eq 1 ] || echo "$1" >&2
}

for dir in */; do
    [ -d "$dir" ] || continue
    dir=${dir%/}
    [ -n "${rank[$dir]+set}" ] ||
        fault "src/$dir/: folder missing from the layer table $table (give it a rank there)"
done
for file in *.h *.cpp *.inc; do
    [ -f "$file" ] && fault "$file: lies outside every layer folder of src/"
done

declare -A edges=() edge_faults=()
include_re='^[[:space:]]*#[[:space:]]*include[[:space:]]*(["<])([^">]+)[">]'
# Every include, indented or not, with quotes or angle brackets; "file:line:text".
while IFS= read -r hit; do
    file=${hit%%:*}
    file=${file#./}
    rest=${hit#*:}
    lineno=${rest%%:*}
    text=${rest#*:}
    [[ $text =~ $include_re ]] || continue
    quoted=${BASH_REMATCH[1]}
    path=${BASH_REMATCH[2]}
    # A quoted include is looked up beside the file first, then from src/ (the include path).
    header=""
    if [ "$quoted" = '"' ] && [[ $file == */* ]] && normalise "${file%/*}/$path" &&
        [ -f "$REPLY" ]; then
        header=$REPLY
    elif normalise "$path" && [ -f "$REPLY" ]; then
        header=$REPLY
    fi
    [[ $header == */* ]] || continue # not a header of src/ (system, generated, outside)
    [[ $file == */* ]] || continue   # reported above
    from=${file%%/*}
    to=${header%%/*}
    [ -n "${rank[$from]+set}" ] || continue # reported above
    [ "$from" != "$to" ] && edges["$from $to"]=$((${edges["$from $to"]:-0} + 1))

    why=""
    kind=""
    if [ -z "${rank[$to]+set}" ]; then
        continue # the folder is reported above
    elif is_qt "$header" && ! is_qt "$file"; then
        why="a toolkit-free file includes a Qt file"
        kind=qt
    elif [ "$from" = "$to" ]; then
        :
    elif [ "$to" = "$qt_folder" ] && is_qt "$file"; then
        :
    elif [ "$from" = "$qt_folder" ] && is_qt "$header"; then
        why="$qt_folder/ is shared by every Qt file and includes no other folder's Qt file"
        kind=qt
    elif [ "${rank[$to]}" -gt "${rank[$from]}" ]; then
        why="$to (rank ${rank[$to]}) is a higher layer than $from (rank ${rank[$from]})"
        kind=up
    elif [ "${rank[$to]}" -eq "${rank[$from]}" ]; then
        why="$to and $from share rank ${rank[$to]}: folders of one rank never include each other"
        kind=sideways
    fi
    if [ -n "$why" ]; then
        fault "$file:$lineno: includes $header: $why"
        case " ${edge_faults["$from $to"]:-} " in
        *" $kind "*) ;;
        *) edge_faults["$from $to"]="${edge_faults["$from $to"]:-} $kind" ;;
        esac
    fi
done < <(grep -rnE --include='*.h' --include='*.cpp' --include='*.inc' \
    '^[[:space:]]*#[[:space:]]*include' . | LC_ALL=C sort -t: -k1,1 -k2,2n)

if [ "$graph" -eq 1 ]; then
    # One line an edge, lowest source folder first, each source's targets from the top down.
    for key in "${!edges[@]}"; do
        from=${key% *}
        to=${key#* }
        printf '%02d %s %02d %s\n' "${rank[$from]:-99}" "$from" "$((99 - ${rank[$to]:-99}))" "$to"
    done | LC_ALL=C sort | while read -r _ from _ to; do
        mark=""
        if [ -z "${rank[$to]+set}" ]; then
            mark="  <-- $to is not in the layer table"
        elif [ -n "${edge_faults["$from $to"]:-}" ]; then
            mark="  <--${edge_faults["$from $to"]}"
        fi
        echo "$from -> $to (${edges["$from $to"]})$mark"
    done
    exit 0
fi

if [ "$faults" -gt 0 ]; then
    echo "layers: $faults fault(s) against $table" >&2
    exit 1
fi
echo "layers: every include keeps to the layer table"
