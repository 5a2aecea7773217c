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

# Each archive's symbols are read once, all archives at the same time: "symbol folder/object",
# its strong definitions and its undefined symbols.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
read_symbols() {
    local folder
    folder=$(folder_of "$1")
    "$nm" -A -g --defined-only "$1" |
        awk -v f="$folder" '$(NF-1) ~ /^[TDBRC]$/ { split($1, p, ":"); print $NF, f "/" p[2] }' \
        > "$work/defined.$2"
    "$nm" -A -u "$1" |
        awk -v f="$folder" '{ split($1, p, ":"); print $NF, f "/" p[2] }' > "$work/used.$2"
}
readers=()
for ((i = 0; i < ${#archives[@]}; i++)); do
    read_symbols "${archives[$i]}" "$i" &
    readers+=($!)
done
for reader in "${readers[@]}"; do wait "$reader"; done

faults=""
for ((i = 0; i < ${#archives[@]} - 1; i++)); do
    above=()
    for ((j = i + 1; j < ${#archives[@]}; j++)); do above+=("$work/defined.$j"); done
    found=$(cat "${above[@]}" | awk 'NR == FNR { above[$1] = $2; next }
        ($1 in above) { print $2 " uses " $1 " of " above[$1] }' - "$work/used.$i")
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
