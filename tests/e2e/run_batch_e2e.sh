#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the built batch tool on the worksheets in batch/ and compares its output byte for byte
# with the expected files; also checks exit codes and messages of failures.
# Usage: run_batch_e2e.sh path/to/quillet-run
set -uo pipefail
tool=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'mountpoint -q "$work/full" && umount "$work/full"; rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Each case: <name>.in, <name>.args (options, one line, may be empty), <name>.out (expected).
for input in "$here"/batch/*.in; do
    name=$(basename "$input" .in)
    # shellcheck disable=SC2046
    "$tool" --seed 1 $(cat "$here/batch/$name.args" 2>/dev/null) "$input" >"$work/$name.out" ||
        fail "$name: exit status $?"
    cmp -s "$work/$name.out" "$here/batch/$name.out" ||
        fail "$name: output differs" "$(diff <(xxd "$here/batch/$name.out") <(xxd "$work/$name.out"))"
done

# Undecodable input is kept as U+FFFD and reported by line; the run still succeeds.
printf '1+1\r\n2\xff\r\n' | "$tool" --utf8 - >"$work/bad.out" 2>"$work/bad.err" ||
    fail "bad bytes: exit status $?"
grep -q 'line 2' "$work/bad.err" || fail "bad bytes: no report of line 2: $(cat "$work/bad.err")"
expected=$(printf "1+1\r\n2\r\n2\xef\xbf\xbd\r\n# 无法识别的输入'\xef\xbf\xbd',请查阅帮助获取程序支持的运算符\r\n" | xxd -p)
[[ "$(xxd -p "$work/bad.out")" == "$expected" ]] || fail "bad bytes: output $(cat "$work/bad.out")"

# A leading UTF-8 byte-order mark is no part of the first line.
printf '\xef\xbb\xbf1+1\n' | "$tool" --utf8 >"$work/bom.out"
[[ "$(xxd -p "$work/bom.out")" == "312b310d0a320d0a" ]] || fail "BOM: bytes $(xxd -p "$work/bom.out")"

# Input that cannot be read and output that is lost: exit status 1 and the reason.
faults=(
    'missing FILE|cannot read /none/a.txt: No such file or directory|"$tool" /none/a.txt'
    'full device|cannot write output: No space left on device|echo 1+1 | "$tool" >/dev/full'
    'closed output|cannot write output: Bad file descriptor|echo 1+1 | "$tool" >&-'
    'directory on stdin|cannot read standard input: Is a directory|"$tool" </ >/dev/null'
)
mkdir "$work/full"
if [[ $(id -u) -eq 0 ]] && mount -t tmpfs -o size=16k tmpfs "$work/full" 2>/dev/null; then
    dd if=/dev/zero of="$work/full/filler" bs=4k 2>/dev/null
    faults+=('full file system|cannot write output: No space left on device|
              echo 1+1 | "$tool" >"$work/full/out"')
else
    echo "skipped: a full file system needs root and a tmpfs mount"
fi
for fault in "${faults[@]}"; do
    IFS='|' read -r -d '' name message command <<<"$fault"
    eval "$command" 2>"$work/fault.err"
    status=$?
    [[ $status -eq 1 ]] || fail "$name: exit status $status"
    [[ "$(cat "$work/fault.err")" == "quillet-run: $message" ]] || fail "$name: $(cat "$work/fault.err")"
done

# Usage errors: exit status 2.
for args in "--bogus" "--base oct x" "--seed" "--seed abc" "a b"; do
    # shellcheck disable=SC2086
    "$tool" $args &>/dev/null </dev/null; (($? == 2)) || fail "usage error '$args': not status 2"
done
"$tool" --help | grep -q 'Usage: quillet-run' || fail "--help prints no usage"
[[ "$("$tool" --version)" =~ ^quillet-run\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version"

((failures)) && echo "$failures failures" && exit 1
echo "batch tool: all cases passed"
