# bash completion for mkpkg: options, package files, and solution files (.hzp)
# where -hzr wants one.

_mkpkg()
{
    local cur="${COMP_WORDS[COMP_CWORD]}"
    local word solution=0 extract=0 positional=0 i
    COMPREPLY=()

    for ((i = 1; i < COMP_CWORD; i++)); do
        word="${COMP_WORDS[i]}"
        case "$word" in
        -hzr) solution=1 ;;
        -x) extract=1 ;;
        -c | -d | -a | -r | -t) extract=0 ;;
        @* | -*) ;;
        *) positional=$((positional + 1)) ;;
        esac
    done

    case "$cur" in
    -*)
        COMPREPLY=($(compgen -W '-c -d -r -t -x -P -v -V -hzr --help --version' -- "$cur"))
        return
        ;;
    @*)
        COMPREPLY=($(compgen -P @ -f -- "${cur#@}"))
        return
        ;;
    esac

    if ((solution)); then
        if ((positional == 0)); then
            # The solution file: .hzp files and directories to reach them.
            COMPREPLY=($(compgen -f -X '!*.hzp' -- "$cur") $(compgen -d -- "$cur"))
        else
            COMPREPLY=($(compgen -f -X '!*.hzr' -- "$cur") $(compgen -d -- "$cur"))
        fi
    elif ((extract && positional == 1)); then
        COMPREPLY=($(compgen -d -- "$cur"))
    else
        # The package, then the files to store: any file.
        COMPREPLY=($(compgen -f -- "$cur"))
    fi
}
complete -o filenames -F _mkpkg mkpkg
