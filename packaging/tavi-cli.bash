# bash completion for tavi-cli: subcommands, their options, option values and
# file arguments by extension. The subcommands and their options are read
# from the program's own `--help`, so a new one completes without a change
# here; what kind of file or value each argument takes is told below.

_tavi_cli_help() {
  local program=${COMP_WORDS[0]}
  [[ $program == "~/"* ]] && program=$HOME/${program#"~/"}
  "$program" --help 2>/dev/null
}

# Adds the files matching a pattern (extended glob, matched against the
# lower-case name) and the folders, for the word being completed.
_tavi_cli_files() {
  local pattern=$1 cur=$2 line
  while IFS= read -r line; do
    [[ -d $line ]] && continue
    # shellcheck disable=SC2053
    [[ ${line,,} == $pattern ]] && COMPREPLY+=("$line")
  done < <(compgen -f -- "$cur")
  while IFS= read -r line; do COMPREPLY+=("$line"); done < <(compgen -d -- "$cur")
}

_tavi_cli_dirs() {
  local line
  while IFS= read -r line; do COMPREPLY+=("$line"); done < <(compgen -d -- "$1")
}

_tavi_cli_words() {
  local line
  while IFS= read -r line; do COMPREPLY+=("$line"); done < <(compgen -W "$1" -- "$2")
}

_tavi_cli() {
  COMPREPLY=()
  local cword=$COMP_CWORD cur=${COMP_WORDS[COMP_CWORD]} prev=""
  ((cword > 0)) && prev=${COMP_WORDS[cword - 1]}
  # "--opt=value": bash splits the word at '='.
  if [[ $cur == "=" ]]; then
    cur=""
  elif [[ $prev == "=" ]] && ((cword > 1)); then
    prev=${COMP_WORDS[cword - 2]}
  elif [[ $cur == --*=* ]]; then
    prev=${cur%%=*}
    cur=${cur#*=}
  fi

  local help
  help=$(_tavi_cli_help)
  if ((cword == 1)); then
    if [[ $cur == -* ]]; then
      _tavi_cli_words "--help --version" "$cur"
    else
      _tavi_cli_words "$(sed -n 's/^  \([a-z][a-z-]*\)\( .*\)\{0,1\}$/\1/p' <<<"$help") help" "$cur"
    fi
    return 0
  fi

  local command=${COMP_WORDS[1]}
  # This command's usage line from the help, and the options it names.
  local usage options
  usage=$(grep -m1 "^  $command\( \|$\)" <<<"$help")
  options="$(grep -o -- '--[a-z][a-z-]*' <<<"$usage" | sort -u | tr '\n' ' ')--client --help"

  case $prev in
    --client) _tavi_cli_dirs "$cur"; return 0 ;;
    --out)
      case $command in
        render) _tavi_cli_files '*.@(bmp|jpg|jpeg|png)' "$cur" ;;
        export-design) _tavi_cli_files '*.@(txt|uoa|csv|wsc)' "$cur" ;;
        *) _tavi_cli_files '*.tav' "$cur" ;;
      esac
      return 0 ;;
    --generation) _tavi_cli_words "loose packed old" "$cur"; return 0 ;;
    --quality) _tavi_cli_words "90 70 50" "$cur"; return 0 ;;
    --floor) _tavi_cli_words "0 1 2 3 4" "$cur"; return 0 ;;
    --bg) _tavi_cli_words "0 1 2 3 4 5" "$cur"; return 0 ;;
    --base) _tavi_cli_words "0 1 2 3 4 5 6 7 8 9" "$cur"; return 0 ;;
    --format) _tavi_cli_words "uoa txt uoab csv wsc" "$cur"; return 0 ;;
    --doors) _tavi_cli_words "dynamic" "$cur"; return 0 ;;
    --id | --house | --design | --width | --name | --zoom) return 0 ;;
  esac

  if [[ $cur == -* ]]; then
    _tavi_cli_words "$options" "$cur"
    return 0
  fi
  case $command in
    info | check | clip-export | render | export-design) _tavi_cli_files '*.tav' "$cur" ;;
    import-design) _tavi_cli_files '*.@(txt|uoa|csv|wsc)' "$cur" ;;
    list-cache | import-cache) _tavi_cli_files '*.dat' "$cur" ;;
    demodata) _tavi_cli_dirs "$cur" ;;
  esac
  return 0
}

complete -o filenames -F _tavi_cli tavi-cli
