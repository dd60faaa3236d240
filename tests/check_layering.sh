#!/usr/bin/env bash
# Dependencies point downward only: analysis → finance → table → forms → runtime;
# table → recordstore → runtime. Fails when a library includes a header above it.
# The program's entry point (finance/main.cpp) joins every layer and is exempt.
#
# Each library's private headers (<lib>/internal/) are its own: only the library
# and its tests (tests/<lib>/) include them. The record engine's family reaches
# them too: the record-file tool (tools/tavrin-db), which checks, repairs and
# dumps the files below the record commands, and the record-file fuzz targets.
set -u
root="$1"
status=0
check() {  # folder, allowed include prefixes...
    local folder="$1"; shift
    local allowed="$*"
    while IFS= read -r line; do
        file="${line%%:*}"
        inc=$(sed -E 's/.*#include "([a-z_]+)\/.*/\1/' <<<"$line")
        case " $allowed " in
            *" $inc "*) ;;
            *) echo "layering: $file includes $inc/ (allowed: $allowed)"; status=1 ;;
        esac
    done < <(grep -rHE '^#include "[a-z_]+/' "$root/$folder" --include='*.h' --include='*.cpp' |
             grep -v "^$root/finance/main.cpp:")
}
check runtime runtime
check recordstore runtime recordstore
check forms runtime forms
check table runtime forms recordstore table
check analysis runtime forms recordstore table finance analysis
check finance runtime forms recordstore table finance

# Private headers: every source file of the tree (build folders aside).
while IFS= read -r line; do
    file="${line%%:*}"
    rel="${file#"$root"/}"
    lib=$(sed -E 's/.*#include "([a-z_]+)\/internal\/.*/\1/' <<<"$line")
    case "$rel" in
        "$lib"/* | tests/"$lib"/*) continue ;;
    esac
    if [ "$lib" = recordstore ]; then
        case "$rel" in tools/tavrin-db/* | fuzz/*) continue ;; esac
    fi
    echo "layering: $rel includes $lib/internal/ (private to $lib)"
    status=1
done < <(grep -rHE '^#include "[a-z_]+/internal/' "$root" --include='*.h' --include='*.cpp' \
             --exclude-dir='build*' --exclude-dir='.git')

[ $status -eq 0 ] && echo "layering: dependencies point downward, private headers stay private"
exit $status
