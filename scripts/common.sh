# shellcheck shell=bash
#
# What the commands at the top of the repository (test.sh, bench.sh, pictures.sh,
# package.sh, run.sh) share: their start, and the names and numbers they take from the
# sources.  Source this file from bash (it sources scripts/env.sh); do not run it.
#
#   clarovia_script_start          cd to the repository, the traps of scripts/env.sh,
#                                  the packages; CLAROVIA_START_MS is the time it began
#   clarovia_script_session [--fresh]
#                                  the Wine session of the default prefix (--fresh: a
#                                  new copy of the template first), and how long it took
#   clarovia_take_numbers [FILE:]NAME...
#                                  sets the shell variable NAME to the value of that
#                                  constant of the sources
#   clarovia_rc_text NAME          a string or a dialog's caption of res/Clarovia.rc
#   clarovia_source_text FILE NAME a string constant of a source file
#
# The scripts send the program its own messages and command numbers, and look for its
# windows by their captions: all of them read here from the files the program is built
# from, so that a new version or a renumbered message needs no change in the scripts.

# shellcheck source=scripts/env.sh
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

clarovia_script_start() {
  cd "$CLAROVIA_ROOT"
  # shellcheck disable=SC2034  # read by the scripts, for their total time
  CLAROVIA_START_MS=$(_clarovia_now_ms)
  clarovia_install_traps
  clarovia_install_deps
}

# shellcheck disable=SC2120  # the option is optional: callers pass none or --fresh
clarovia_script_session() {
  local start prefix
  start=$(_clarovia_now_ms)
  prefix=$(clarovia_default_prefix)
  if [[ ${1:-} == --fresh ]]; then
    clarovia_prepare_prefix --fresh "$prefix"
  else
    clarovia_prepare_prefix "$prefix"
  fi
  clarovia_start_session
  echo "== wine session: $(clarovia_elapsed "$start") s"
}

# ---------------------------------------------------------------------------------------
# Names and numbers from the sources

# The preprocessor of the x86_64 build (cmake/toolchain-x86_64.cmake), on standard input.
_clarovia_preprocess() {
  x86_64-w64-mingw32-g++-posix -E -P -x c++ -
}

# clarovia_take_numbers [FILE:]NAME...: for each NAME a #define or an enumerator or
# constant ("NAME = expression") of FILE, relative to the repository; without FILE a name
# of Windows' headers (windows.h, commctrl.h).  Sets the shell variable NAME (global) to
# its value in decimal.  One run of the preprocessor for all of them.
clarovia_take_numbers() {
  local wanted file name path expr text value i
  local -a names=() exprs=() includes=()
  for wanted in "$@"; do
    name=${wanted##*:}
    file=
    [[ $wanted != *:* ]] || file=${wanted%:*}
    expr=
    if [[ -z $file ]]; then
      expr=$name
    else
      path=$CLAROVIA_ROOT/$file
      if [[ ! -f $path ]]; then
        _clarovia_log "no file $file (looking for $name)"
        return 1
      fi
      if grep -qE "^[[:space:]]*#[[:space:]]*define[[:space:]]+$name([[:space:]]|$)" "$path"; then
        includes+=("#include \"$path\"")
        expr=$name
      else
        expr=$(sed -nE "s@^[^/]*\\<${name}[[:space:]]*=[[:space:]]*([^,;/]*).*@\\1@p" "$path" | head -n 1)
      fi
    fi
    if [[ -z ${expr//[[:space:]]/} ]]; then
      _clarovia_log "$name not found in $file"
      return 1
    fi
    names+=("$name")
    exprs+=("$expr")
  done
  text=$(
    {
      printf '#include <windows.h>\n#include <commctrl.h>\n'
      (( ${#includes[@]} == 0 )) || printf '%s\n' "${includes[@]}"
      for i in "${!exprs[@]}"; do
        printf '@@%d %s\n' "$i" "${exprs[$i]}"
      done
    } | _clarovia_preprocess
  ) || { _clarovia_log "the preprocessor failed on: ${names[*]}"; return 1; }
  for i in "${!names[@]}"; do
    value=$(sed -nE "s/^@@$i (.*)$/\\1/p" <<<"$text")
    # Integer suffixes off; then nothing but numbers and operators may be left.
    value=$(sed -E 's/\<(0[xX][0-9a-fA-F]+|[0-9]+)[uUlL]+\>/\1/g' <<<"$value")
    if [[ -z $value || ! $value =~ ^[0-9a-fA-FxX\ ()+*/|\&\<\>~-]+$ ]]; then
      _clarovia_log "${names[$i]} is not a number: ${value:-(nothing)}"
      return 1
    fi
    declare -g "${names[$i]}=$(( value ))"
  done
}

# The C string literals of standard input ("a" "b" ...) as one text; no escapes.
_clarovia_join_literals() {
  local text
  text=$(cat)
  if [[ ! $text =~ ^[[:space:]]*\"[^\"\\]*\"([[:space:]]*\"[^\"\\]*\")*[[:space:]]*$ ]]; then
    _clarovia_log "not a plain string: $text"
    return 1
  fi
  text=$(sed -E 's/"[[:space:]]*"//g; s/^[[:space:]]*"//; s/"[[:space:]]*$//' <<<"$text")
  printf '%s\n' "$text"
}

# clarovia_rc_text NAME [FILE]: the string NAME of res/Clarovia.rc's string table (or
# of another file of res/, english.rc), or the caption of its dialog NAME, with the macros of res/version.h and res/program_names.h
# in it expanded (the settings sheet's caption carries the version).
clarovia_rc_text() {
  local name=$1 rc=$CLAROVIA_ROOT/res/${2:-Clarovia.rc} text
  text=$(awk -v name="$name" '
    $1 == name && $2 ~ /^DIALOG(EX)?$/ { dialog = 1; next }
    dialog && /^BEGIN/ { exit }
    dialog && $1 == "CAPTION" { sub(/^[[:space:]]*CAPTION[[:space:]]+/, ""); print; exit }
    !dialog && $1 == name && $2 ~ /^"/ { sub(/^[[:space:]]*[A-Za-z_0-9]+[[:space:]]+/, ""); print; exit }
  ' "$rc")
  if [[ -z $text ]]; then
    _clarovia_log "$name not found in res/${2:-Clarovia.rc}"
    return 1
  fi
  printf '#include "%s"\n#include "%s"\n@@ %s\n' "$CLAROVIA_ROOT/res/version.h" "$CLAROVIA_ROOT/res/program_names.h" \
    "$text" | _clarovia_preprocess |
    sed -n 's/^@@ //p' | _clarovia_join_literals
}

# clarovia_source_text FILE NAME: the string constant NAME of FILE (relative to the
# repository), 'NAME[] = "..."' or with L"...", its backslashes unescaped.
clarovia_source_text() {
  local file=$1 name=$2 text
  text=$(sed -nE "s@^[^/]*\\<${name}\\[\\][[:space:]]*=[[:space:]]*L?\"(([^\"\\\\]|\\\\.)*)\".*@\\1@p" \
    "$CLAROVIA_ROOT/$file" | head -n 1)
  if [[ -z $text ]]; then
    _clarovia_log "$name not found in $file"
    return 1
  fi
  printf '%s\n' "${text//\\\\/\\}"
}
