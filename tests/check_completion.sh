#!/usr/bin/env bash
# What Tab offers for a few quorim command lines. Usage: check_completion.sh COMPLETION_FILE
source /usr/share/bash-completion/bash_completion || exit 1
source "$1" || exit 1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir" && touch a.szt b.csv c.txt && mkdir sub

offered() {  # the words of a command line, the last one being completed
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="$*"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _quorim 2>/dev/null
    printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' '
}

fail=0
check() {  # expected, then the words
    local expected=$1 got
    shift
    got=$(offered "$@")
    if [[ $got != "$expected" ]]; then
        echo "quorim ${*:2}: offered \"$got\", expected \"$expected\""
        fail=1
    fi
}

check "read restore " quorim re
check "ports " quorim po
check "doctor " quorim do
check "--help --json --port --report " quorim doctor -
check "--help --json " quorim ports -
check "--version " quorim --v
check "--item " quorim tune --it
check "a.szt sub " quorim show ""
check "apply list show " quorim plan ""
check "b.csv cn409 frs pmr446 sub " quorim check --plan ""
check "a.szt sub " quorim read --port COM1 --out ""
check "b.csv sub " quorim import ""
check "b.csv sub " quorim export a.szt --out ""
check "16 199 " quorim new --model ""
check "exchange " quorim export a.szt --format e
check "COM3 " quorim write --port COM3
check "inhibit= rx= rx_tone= tx= tx_tone= " quorim edit a.szt --channels 1-4 ""
check "a.szt sub " quorim edit ""
check "en zh " quorim show a.szt --lang ""

# --port: the four port names, then the serial device nodes there are.
ports=$(offered quorim read --port "")
for word in $ports; do
    [[ $word == COM[1-4] || $word == /dev/tty* ]] || { echo "--port offered \"$word\""; fail=1; }
done
[[ $ports == *"COM1 COM2 COM3 COM4 "* ]] || { echo "--port offered \"$ports\""; fail=1; }
exit $fail
