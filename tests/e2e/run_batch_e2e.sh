#!/usr/bin/env bash
# Runs the built batch tool on the worksheets in batch/ and compares its output byte for byte
# with the expected files; also checks exit codes and messages of failures.
# Usage: run_batch_e2e.sh path/to/quillet-run
set -uo pipefail
tool=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Each case: <name>.in, <name>.args (options, one line, may be empty), <name>.out (expected).
for input in "$here"/batch/*.in; do
    name=$(basename "$input" .in)
    args=""
    [[ -f "$here/batch/$name.args" ]] && args=$(cat "$here/batch/$name.args")
    # shellcheck disable=SC2086
    "$tool" --seed 1 $args "$input" >"$work/$name.out" 2>"$work/$name.err"
    status=$?
    [[ $status -eq 0 ]] || fail "$name: exit status $status"
    if ! cmp -s "$work/$name.out" "$here/batch/$name.out"; then
        fail "$name: output differs"
        diff <(xxd "$here/batch/$name.out") <(xxd "$work/$name.out") | head -20
    fi
done

# The one-line worksheet "1+2" gives exactly these eight bytes.
printf '1+2' | "$tool" - >"$work/sum.out" || fail "stdin: exit status $?"
[[ "$(xxd -p "$work/sum.out")" == "312b320d0a330d0a" ]] || fail "stdin: bytes $(xxd -p "$work/sum.out")"

# Undecodable input is kept as U+FFFD and reported by line; the run still succeeds.
printf '1+1\r\n2\xff\r\n' | "$tool" --utf8 - >"$work/bad.out" 2>"$work/bad.err" ||
    fail "bad bytes: exit status $?"
grep -q 'line 2' "$work/bad.err" || fail "bad bytes: no report of line 2: $(cat "$work/bad.err")"
expected=$(printf "1+1\r\n2\r\n2\xef\xbf\xbd\r\n# 无法识别的输入'\xef\xbf\xbd',请查阅帮助获取程序支持的运算符\r\n" | xxd -p)
[[ "$(xxd -p "$work/bad.out")" == "$expected" ]] || fail "bad bytes: output $(cat "$work/bad.out")"

# A file that cannot be read: exit status 1 and a message naming it.
"$tool" "$work/missing.txt" >/dev/null 2>"$work/missing.err"
[[ $? -eq 1 ]] || fail "missing file: exit status not 1"
grep -q 'missing.txt' "$work/missing.err" || fail "missing file: message $(cat "$work/missing.err")"

# Usage errors: exit status 2.
for args in "--bogus" "--base oct x" "--seed" "--seed abc" "a b"; do
    # shellcheck disable=SC2086
    "$tool" $args >/dev/null 2>&1 </dev/null
    [[ $? -eq 2 ]] || fail "usage error '$args': exit status not 2"
done
"$tool" --help | grep -q 'Usage: quillet-run' || fail "--help prints no usage"

if ((failures)); then
    echo "$failures failures"
    exit 1
fi
echo "batch tool: all cases passed"
