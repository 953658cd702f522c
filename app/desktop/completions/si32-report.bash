# bash completion for si32-report. The options come from its own --help, so
# a new option completes without a change here; --drive completes the
# letters of the drive list.
_si32_report() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    if [[ $prev == --drive ]]; then
        COMPREPLY=($(compgen -W "$("${COMP_WORDS[0]}" --list-drives 2>/dev/null | cut -c1)" -- "$cur"))
        return
    fi
    COMPREPLY=($(compgen -W "$("${COMP_WORDS[0]}" --help 2>/dev/null | grep -o -- '^  --[a-z-]*')" -- "$cur"))
}
complete -F _si32_report si32-report
