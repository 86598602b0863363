#!/usr/bin/env bash
# The corpus: a few hundred runs of ciframer-cli whose whole output is kept
# byte for byte (standard output, standard error with the step log, exit
# status, and every file the run leaves in the cache folder).
#
#   run.sh CLI CASES EXPECTED [SHARD COUNT]   compare (cases i with i % COUNT == SHARD)
#   run.sh CLI CASES EXPECTED --record        write EXPECTED anew from CLI
#   run.sh CLI CASES EXPECTED --record-new    append the cases EXPECTED lacks
#
# The program runs under the name "ciframer-cli" whatever its path, since its
# help text names it as it was called.
#
# CASES holds one case a line (make_cases.py says the format). Each case runs
# in a fresh working directory with LC_ALL=C; its cache folder starts empty or
# with the pi files of tests/data/korpus_pi (the seed column).
set -uo pipefail
cli=$(realpath "$1")
cases=$(realpath "$2")
expected=$(realpath -m "$3")
shard=${4:-0}
count=${5:-1}
record=0
if [ "$shard" = "--record" ]; then record=1; shard=0; count=1; fi
if [ "$shard" = "--record-new" ]; then record=2; shard=0; count=1; fi
here=$(cd "$(dirname "$0")" && pwd)
pi_seed=$here/../../data/korpus_pi
export LC_ALL=C

# Names and hashes of the seed files, to tell the files a run wrote.
declare -A seed_hash=()
seed_names=()
while read -r h f; do f=${f##*/}; seed_hash[$f]=$h; seed_names+=("$f"); done \
    < <(sha256sum -- "$pi_seed"/*.vmChislo)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One block of the transcript for a stream: its size, then the bytes
# themselves (a line break added when they do not end in one).
stream() {
    local label=$1 file=$2 n
    n=$(wc -c < "$file")
    echo "$label ($n bytes):"
    cat "$file"
    if [ "$n" != 0 ] && [ -n "$(tail -c1 "$file")" ]; then echo; fi
}

run_case() {
    local name=$1 seed=$2 argstr=$3 input=$4
    local dir=$work/case
    mkdir -p "$dir/VelimathData"
    [ "$seed" = pi ] && cp -- "$pi_seed"/*.vmChislo "$dir/VelimathData/"
    printf '%b' "$input" > "$dir/.input"
    local args=() status
    eval "args=($argstr)"
    cd "$dir"
    (exec -a ciframer-cli "$cli" "${args[@]}") < .input > .out 2> .err
    status=$?
    cd "$work"
    echo "=== $name"
    echo "args: $argstr"
    echo "status: $status"
    stream stdout "$dir/.out"
    stream stderr "$dir/.err"
    # The cache files the run wrote or changed (the seed files it kept as
    # they were are left out), and the seed files it removed.
    echo "cache:"
    local h f
    local -A left=()
    shopt -s nullglob
    local files=("$dir"/VelimathData/*)
    shopt -u nullglob
    if [ ${#files[@]} -gt 0 ]; then
        while read -r h f; do
            f=${f##*/}
            left[$f]=1
            [ "$seed" = pi ] && [ "${seed_hash[$f]:-}" = "$h" ] && continue
            echo "${h:0:16}  $f"
        done < <(sha256sum -- "${files[@]}")
    fi
    if [ "$seed" = pi ]; then
        for f in "${seed_names[@]}"; do [ -n "${left[$f]:-}" ] || echo "removed  $f"; done
    fi
    rm -rf "$dir"
}

transcript=$work/transcript
: > "$transcript"
i=0
names=()
while IFS= read -r line; do
    # Split by hand: read would merge the tabs around an empty args field.
    name=${line%%$'\t'*}; line=${line#*$'\t'}
    seed=${line%%$'\t'*}; line=${line#*$'\t'}
    argstr=${line%%$'\t'*}; input=${line#*$'\t'}
    if (( record == 2 )) && grep -qxF "=== $name" "$expected"; then
        i=$((i + 1))
        continue
    fi
    if (( i % count == shard )); then
        names+=("$name")
        run_case "$name" "$seed" "$argstr" "$input" >> "$transcript"
    fi
    i=$((i + 1))
done < "$cases"

if (( record == 2 )); then
    cat "$transcript" >> "$expected"
    echo "appended ${#names[@]} cases to $expected"
    exit 0
fi
if (( record )); then
    {
        echo "# Recorded by tests/cli/korpus/run.sh --record from the build of $(git -C "$here" rev-parse --short HEAD 2>/dev/null || echo '?')."
        cat "$transcript"
    } > "$expected"
    echo "recorded ${#names[@]} cases into $expected"
    exit 0
fi

# The expected blocks of this shard's cases, in the same order.
want=$work/want
awk -v list="$(printf '%s\n' "${names[@]}")" '
    BEGIN { n = split(list, a, "\n"); for (k = 1; k <= n; k++) keep[a[k]] = 1 }
    /^=== / { on = (substr($0, 5) in keep) }
    on' "$expected" > "$want"
if diff -u "$want" "$transcript"; then
    echo "${#names[@]} corpus cases identical"
    exit 0
fi
echo "corpus output differs (above: - expected, + this build)" >&2
exit 1
