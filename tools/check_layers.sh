#!/usr/bin/env bash
# Fails when code of a source folder uses a symbol that only a higher folder defines.
#
#   tools/check_layers.sh NM STAMP ARCHIVE...    the folders' archives, lowest first
#
# The linker alone misses such a call whenever the higher folder's object is already linked in
# for another reason, so every folder's undefined symbols are matched against the symbols that
# the folders above it define. Weak definitions (inline functions, template instances) are left
# out: every object that uses one carries its own copy. STAMP is touched when all is well.
set -euo pipefail
nm=$1
stamp=$2
shift 2
archives=("$@")

folder_of() { basename "$1" .a | sed 's/^libtessaly_//'; }

faults=""
for ((i = 0; i < ${#archives[@]} - 1; i++)); do
    lower=${archives[$i]}
    # Strong definitions above: "symbol folder/object".
    defined=$(for ((j = i + 1; j < ${#archives[@]}; j++)); do
        "$nm" -A -g --defined-only "${archives[$j]}" |
            awk -v f="$(folder_of "${archives[$j]}")" '$(NF-1) ~ /^[TDBRC]$/ {
                split($1, p, ":"); print $NF, f "/" p[2] }'
    done)
    [ -n "$defined" ] || continue
    # Undefined here: "symbol folder/object".
    used=$("$nm" -A -u "$lower" |
        awk -v f="$(folder_of "$lower")" '{ split($1, p, ":"); print $NF, f "/" p[2] }')
    found=$(awk 'NR == FNR { above[$1] = $2; next }
                 ($1 in above) { print $2 " uses " $1 " of " above[$1] }' \
        <(printf '%s\n' "$defined") <(printf '%s\n' "$used"))
    [ -z "$found" ] || faults+="$found"$'\n'
done

if [ -n "$faults" ]; then
    echo "A folder calls code of a folder above it (src/README.md, Folders):" >&2
    demangle=cat
    command -v c++filt >/dev/null && demangle=c++filt
    printf '%s' "$faults" | sort -u | "$demangle" >&2
    exit 1
fi
touch "$stamp"
