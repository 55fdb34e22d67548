# shellcheck shell=bash
# Shared by the shell test scripts: named checks that report PASS or FAIL, a tool check, and
# lines in order.
# Sourced, not run. A script ends with `exit $fail`.
# A script that stops on an error (set -e) says where: file, line and command.

# shellcheck disable=SC2034 # read by the scripts that source this
fail=0
set -o errtrace
trap 'echo "FAIL: stopped at ${BASH_SOURCE[0]##*/}:$LINENO on: $BASH_COMMAND (status $?)" >&2' ERR

# check NAME CONDITION: evaluates CONDITION (a shell expression) and reports it.
check() {
    if eval "$2"; then
        echo "PASS: $1"
    else
        echo "FAIL: $1"
        fail=1
    fi
}

# need TOOL...: stops the script with a clear message when a tool is missing.
need() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || {
            echo "FAIL: $tool is not installed (scripts/test installs it)"
            exit 1
        }
    done
}

# in_order FILE REGEX...: lines of FILE match the regexes in this order, other lines between.
in_order() {
    local file=$1 line
    shift
    while IFS= read -r line; do
        [ $# -gt 0 ] && [[ $line =~ $1 ]] && shift
    done <"$file"
    [ $# -eq 0 ]
}
