#!/usr/bin/env bash
# Runs ciframer-cli on one case folder and compares what it prints.
#   run_case.sh CLI CASE_DIR
# The case folder holds:
#   args     command-line arguments, one per line (optional)
#   input    standard input (optional; else input.sh's output, else empty)
#   input.sh script whose output is the standard input (optional)
#   script   a bash script run instead of one call (optional): it finds the
#            program in $CLI, and its own output and status are compared
#   stdout, stderr, status   the expected output streams and exit status
#   sigint   seconds after which Ctrl+C (SIGINT) is sent (optional)
#   files    paths (globs) that must exist afterwards, one per line (optional)
#   *.txt    copied into the working directory (definition files named in args)
# Each case runs in a fresh temporary working directory with LC_ALL=C, so
# the decimal separator is ".", and XDG_CACHE_HOME=<that directory>/xdg, so
# the constant cache lands in xdg/ciframer/VelimathData there.
set -uo pipefail
cli=$1
case_dir=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
export LC_ALL=C
export XDG_CACHE_HOME=$work/xdg

for t in "$case_dir"/*.txt; do [ -e "$t" ] && cp "$t" .; done

args=()
if [ -f "$case_dir/args" ]; then
    while IFS= read -r a || [ -n "$a" ]; do args+=("$a"); done < "$case_dir/args"
fi
if [ -f "$case_dir/input" ]; then
    cp "$case_dir/input" input
elif [ -f "$case_dir/input.sh" ]; then
    bash "$case_dir/input.sh" > input
else
    : > input
fi

if [ -f "$case_dir/script" ]; then
    CLI=$cli bash "$case_dir/script" < input > out 2> err
    status=$?
elif [ -f "$case_dir/sigint" ]; then
    "$cli" "${args[@]}" < input > out 2> err &
    pid=$!
    sleep "$(cat "$case_dir/sigint")"
    kill -INT "$pid"
    wait "$pid"
    status=$?
else
    "$cli" "${args[@]}" < input > out 2> err
    status=$?
fi

fail=0
if ! diff -u "$case_dir/stdout" out; then echo "stdout differs" >&2; fail=1; fi
if ! diff -u "$case_dir/stderr" err; then echo "stderr differs" >&2; fail=1; fi
expected_status=$(cat "$case_dir/status")
if [ "$status" != "$expected_status" ]; then
    echo "exit status $status, expected $expected_status" >&2
    fail=1
fi
if [ -f "$case_dir/files" ]; then
    while IFS= read -r f || [ -n "$f" ]; do
        # shellcheck disable=SC2086
        if ! compgen -G $f > /dev/null; then echo "missing afterwards: $f" >&2; fail=1; fi
    done < "$case_dir/files"
fi
exit $fail
