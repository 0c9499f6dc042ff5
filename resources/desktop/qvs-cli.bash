# Bash completion for qvs-cli: its commands, each command's options, the
# values options take, and data files where a file is expected.
_qvs_cli() {
    local cur prev verb
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD-1]}
    local verbs="ls show search expiring add edit rm mv mkcat rmcat mksub rmsub passwd
        generate estimate clip export analyze dump create merge import convert conflicts info"
    if ((COMP_CWORD == 1)); then
        COMPREPLY=($(compgen -W "$verbs --help --version" -- "$cur"))
        return
    fi
    verb=${COMP_WORDS[1]}
    case $prev in
    --format)
        case $verb in
        export) COMPREPLY=($(compgen -W "csv html txt columns" -- "$cur")) ;;
        import) COMPREPLY=($(compgen -W "auto chrome firefox keepass-csv bitwarden-csv
                    bitwarden-json lastpass csv" -- "$cur")) ;;
        *) COMPREPLY=($(compgen -W "legacy 2" -- "$cur")) ;;
        esac
        return ;;
    --field)
        COMPREPLY=($(compgen -W "user password url notes code" -- "$cur"))
        return ;;
    --encoding)
        COMPREPLY=($(compgen -W "auto utf-8 utf-16 cp1252" -- "$cur"))
        return ;;
    --classes)
        COMPREPLY=($(compgen -W "upper,lower,digits,symbols upper lower digits symbols
                    no-look-alikes" -- "$cur"))
        return ;;
    --from | --base | --breached)
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -f -- "$cur"))
        return ;;
    --category | --subcategory | --user | --email | --url | --rename | --length | --words | \
        --seconds | --kdf-ms | --fields | --delimiter | --map | --generate)
        return ;;
    esac
    local options
    case $verb in
    ls | expiring | rm | mkcat | mksub) options="--password-stdin" ;;
    show) options="--field --password-stdin" ;;
    search) options="--password-stdin" ;;
    add) options="--category --subcategory --user --email --url --notes-stdin --generate
        --password-prompt --password-stdin" ;;
    edit) options="--rename --category --subcategory --user --email --url --notes-stdin
        --generate --password-prompt --password-stdin" ;;
    mv) options="--category --subcategory --password-stdin" ;;
    rmcat | rmsub) options="--with-entries --password-stdin" ;;
    passwd) options="--kdf-ms --no-password --password-stdin" ;;
    generate) options="--length --words --classes" ;;
    estimate) options="" ;;
    clip) options="--field --seconds --password-stdin" ;;
    export) options="--format --fields --notes --history --no-header --delimiter
        --no-neutralise --password-stdin" ;;
    analyze) options="--breached --password-stdin" ;;
    dump) options="--with-history --password-stdin" ;;
    create) options="--from --format --force --no-password --password-stdin" ;;
    merge) options="--base --dry-run --password-stdin" ;;
    import) options="--from --format --dry-run --encoding --map --delimiter --no-captions
        --password-stdin" ;;
    convert) options="--format --password-stdin" ;;
    info) options="" ;;
    esac
    # Every command that opens a file may be told to open one whose key
    # settings are beyond what is opened without asking.
    [[ $options == *--password-stdin* ]] && options="$options --allow-slow-key"
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options --help" -- "$cur"))
    elif ((COMP_CWORD == 2)) && [[ $verb != generate && $verb != estimate ]]; then
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -f -X '!*.@(QVS|qvs)' -- "$cur") $(compgen -d -- "$cur"))
    fi
}
complete -F _qvs_cli qvs-cli
