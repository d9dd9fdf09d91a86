#!/usr/bin/env bash
# Checks the #include lines of the Qt-free layers against the order of the libraries in
# src/CMakeLists.txt: no layer includes a Qt header or a header of a layer above it.
# Prints every offending file with its include and fails when there is one.
set -euo pipefail
cd "$(dirname "$0")/../src"

# Each layer with the folders (under src/) whose headers it may include, its own first.
# platform/qt, the Qt implementations, is checked only as included: nothing here may use it.
declare -A allowed=(
    [platform]="platform"
    [platform/serial]="platform/serial platform"
    [platform/fakes]="platform/fakes platform/serial platform"
    [sequences]="sequences platform"
    [communication]="communication sequences platform"
    [persistence]="persistence communication sequences platform"
    [display]="display persistence communication sequences platform"
    [richtext]="richtext platform"
    [app/control]="app/control display persistence communication sequences richtext platform"
)

# The layer a header belongs to, from its path under src/.
layer_of() {
    case $1 in
    platform/*/* | app/*/*) echo "${1%%/*}/$(cut -d/ -f2 <<<"$1")" ;;
    */*) echo "${1%%/*}" ;;
    *) echo "$1" ;;
    esac
}

failures=0
report() {
    echo "$1: $2" >&2
    failures=$((failures + 1))
}

for layer in "${!allowed[@]}"; do
    [ -d "$layer" ] || continue
    depth=()
    [ "$layer" = platform ] && depth=(-maxdepth 1)
    for file in $(find "$layer" "${depth[@]}" -name '*.h' -o -name '*.cpp' | sort); do
        while IFS= read -r line; do
            if [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<([Qq][^>]*)\> ]]; then
                header=${BASH_REMATCH[1]}
                if [[ $header == Q* || $header == qt* ]]; then
                    report "src/$file" "includes the Qt header <$header>"
                fi
            elif [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]]; then
                header=${BASH_REMATCH[1]}
                [[ $header == */* ]] || header=$layer/$header
                target=$(layer_of "$header")
                ok=0
                for permitted in ${allowed[$layer]}; do
                    if [ "$target" = "$permitted" ]; then
                        ok=1
                    fi
                done
                if [ $ok -eq 0 ]; then
                    report "src/$file" "includes \"${BASH_REMATCH[1]}\" of $target, which $layer may not use"
                fi
            fi
        done <"$file"
    done
done

if [ $failures -gt 0 ]; then
    echo "check-layers: $failures include(s) break the layer order" >&2
    exit 1
fi
echo "check-layers: every layer includes only Qt-free headers of itself and the layers below"
