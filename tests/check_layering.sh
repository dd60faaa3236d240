#!/usr/bin/env bash
# Dependencies point downward only: analysis → finance → table → forms → runtime;
# table → recordstore → runtime. Fails when a library includes a header above it.
# The program's entry point (finance/main.cpp) joins every layer and is exempt.
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
[ $status -eq 0 ] && echo "layering: dependencies point downward"
exit $status
