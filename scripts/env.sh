# shellcheck shell=bash
#
# Build and test environment for Clarovia: packages, the Wine prefix, and a private
# X display with one Wine "shell" desktop.  Source this file from bash; do not run it.
#
#   clarovia_install_deps              install missing Debian packages, generate ja_JP.UTF-8
#                                      (and 32-bit Wine where the machine executes 32-bit code)
#   clarovia_default_prefix            print the prefix path used by the session
#   clarovia_prepare_prefix [--fresh] DIR
#                                      create the Wine prefix DIR from a cached template
#                                      (--fresh: replace an existing one with a new copy)
#   clarovia_kill_prefix [DIR]         end every Wine process of prefix DIR (default prefix)
#   clarovia_start_session [--display-from-env]
#                                      Xvfb + persistent wineserver + "shell" desktop;
#                                      exports WINEPREFIX, DISPLAY, LANG, ...
#                                      (--display-from-env: no Xvfb, the desktop opens on
#                                      the X display in $DISPLAY, which must answer)
#   clarovia_stop_session              end what clarovia_start_session started (idempotent)
#   clarovia_install_traps             stop the session (and a clarovia_run child) on
#                                      EXIT, INT and TERM
#   clarovia_run CMD...                run CMD so that INT/TERM reach the traps promptly
#   clarovia_runs_32bit                whether this machine executes 32-bit x86 code
#   clarovia_wine64                    the wine command for a 64-bit program (Wine's own
#                                      programs by name start 32-bit where wine32 is installed)
#   clarovia_wine_native               the wine command for a program of the prefix's width
#
# Settings read from the environment (all optional):
#   CLAROVIA_WINEARCH     win64 (default): 64-bit Windows, 32-bit programs under WoW64
#                         where wine32 is installed; win32: a 32-bit Windows
#   CLAROVIA_WINEPREFIX   prefix directory         (default: <repo>/build/wineprefix, and
#                                                   <repo>/build/wineprefix-win32 for win32)
#   CLAROVIA_LOG_DIR      Xvfb / Wine session logs (default: <repo>/build/session-logs)
#   CLAROVIA_EXTRA_PACKAGES  more Debian packages for clarovia_install_deps (space separated)
#   XDG_CACHE_HOME        the template lives in ${XDG_CACHE_HOME:-$HOME/.cache}/clarovia

CLAROVIA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

CLAROVIA_PACKAGES=(
  cmake ninja-build python3
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-win32 g++-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64
  xvfb xdotool x11-utils xauth
  fonts-ipafont-gothic fonts-wine locales
  googletest imagemagick nsis
)

# Bump when the way the template is built changes.  The registry settings, the Wine
# version, the fonts-wine file list and the user name are part of the stamp anyway.
CLAROVIA_TEMPLATE_REVISION=1

# Session state: shell variables of the shell that started the session (not exported, so a
# nested script never stops its parent's session).
_CLAROVIA_XVFB_PID=
_CLAROVIA_SESSION_PREFIX=
_CLAROVIA_XVFB_PIDFILE=
_CLAROVIA_ENV_DISPLAY=
_CLAROVIA_CHILD_PID=

_clarovia_log() { printf '[env] %s\n' "$*" >&2; }

_clarovia_now_ms() { date +%s%3N; }

# True while process $1 exists and has not exited (a zombie waiting for its parent counts
# as exited).
_clarovia_alive() {
  local rest
  read -r rest 2>/dev/null <"/proc/$1/stat" || return 1
  rest=${rest##*) }
  [[ ${rest%% *} != [ZX] ]]
}

# Print elapsed seconds since a _clarovia_now_ms value, e.g. "12.3".
clarovia_elapsed() {
  local ms=$(( $(_clarovia_now_ms) - $1 ))
  printf '%d.%d' $(( ms / 1000 )) $(( (ms % 1000) / 100 ))
}

_clarovia_sudo() {
  if (( EUID == 0 )); then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    _clarovia_log "need root for: $* (not root, and sudo is missing)"
    return 1
  fi
}

# ---------------------------------------------------------------------------------------
# Packages and locale

clarovia_install_deps() {
  local -a pkgs=("${CLAROVIA_PACKAGES[@]}") missing=()
  local extra=${CLAROVIA_EXTRA_PACKAGES:-} status pkg
  if [[ -n $extra ]]; then
    local -a extra_list
    read -r -a extra_list <<<"$extra"
    pkgs+=("${extra_list[@]}")
  fi
  # 32-bit Wine beside the 64-bit one, only where 32-bit code runs: elsewhere every start
  # of wine would try its 32-bit loader first and fail.
  if clarovia_runs_32bit; then
    pkgs+=(wine32:i386)
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      _clarovia_log "adding the i386 architecture (for wine32)"
      _clarovia_sudo dpkg --add-architecture i386
    fi
  fi
  # One dpkg-query for all; packages it does not know are reported on stderr only.
  status=$(dpkg-query -W -f='${Package} ${Status}\n' "${pkgs[@]}" 2>/dev/null || true)
  for pkg in "${pkgs[@]}"; do
    if ! grep -qxF "${pkg%%:*} install ok installed" <<<"$status"; then
      missing+=("$pkg")
    fi
  done
  if (( ${#missing[@]} )); then
    _clarovia_log "installing: ${missing[*]}"
    _clarovia_sudo env DEBIAN_FRONTEND=noninteractive \
      timeout 900 apt-get -o DPkg::Lock::Timeout=300 update -qq
    _clarovia_sudo env DEBIAN_FRONTEND=noninteractive \
      timeout 1800 apt-get -o DPkg::Lock::Timeout=300 install -y -qq --no-install-recommends \
      "${missing[@]}"
  fi
  # Japanese for the whole session; English and German for the tests of the English
  # texts (German is one of the languages that fall back to English).
  local locales name
  locales=$(locale -a 2>/dev/null || true)
  for name in ja_JP en_US de_DE; do
    if ! grep -qixE "${name}\.utf-?8" <<<"$locales"; then
      _clarovia_log "generating locale $name.UTF-8"
      _clarovia_sudo timeout 300 localedef -i "$name" -f UTF-8 "$name.UTF-8"
    fi
  done
}

# ---------------------------------------------------------------------------------------
# Wine prefix

# win64 or win32: the Windows of the prefixes made and used (CLAROVIA_WINEARCH).
clarovia_winearch() {
  case ${CLAROVIA_WINEARCH:-win64} in
    win64|win32) printf '%s\n' "${CLAROVIA_WINEARCH:-win64}" ;;
    *) _clarovia_log "CLAROVIA_WINEARCH is win64 or win32, not '$CLAROVIA_WINEARCH'"; return 1 ;;
  esac
}

clarovia_default_prefix() {
  local suffix=
  [[ $(clarovia_winearch) == win64 ]] || suffix=-win32
  printf '%s\n' "${CLAROVIA_WINEPREFIX:-$CLAROVIA_ROOT/build/wineprefix$suffix}"
}

# The wine command for a 64-bit program: with wine32 installed, /usr/bin/wine starts the
# 32-bit loader, which hands a 64-bit program on but starts Wine's own programs
# (notepad, regedit, cmd) as 32-bit ones.
clarovia_wine64() {
  if [[ -x /usr/lib/wine/wine64 && -x /usr/lib/wine/wine ]]; then
    printf '%s\n' /usr/lib/wine/wine64
  else
    printf '%s\n' wine
  fi
}

# The wine command for a program of the prefix's own width: 64-bit in a win64 prefix,
# 32-bit in a win32 one (where no 64-bit program starts).
clarovia_wine_native() {
  if [[ $(clarovia_winearch) == win32 ]]; then
    printf '%s\n' wine
  else
    clarovia_wine64
  fi
}

_clarovia_template_dir() {
  local home=${HOME:-}
  [[ -n $home ]] || home=$(getent passwd "$(id -u)" | cut -d: -f6)
  local suffix=
  [[ $(clarovia_winearch) == win64 ]] || suffix=-win32
  printf '%s\n' "${XDG_CACHE_HOME:-$home/.cache}/clarovia/wine-template$suffix"
}

# The registry settings of every prefix (UTF-8 here; written as UTF-16LE for regedit).
_clarovia_reg_text() {
  cat <<'EOF'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="shell"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"shell"="1024x768"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"MS UI Gothic"="IPAPGothic"
"MS Gothic"="IPAGothic"
"MS PGothic"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"
"ＭＳ Ｐゴシック"="IPAPGothic"

EOF
}

_clarovia_wine_fonts() {
  local list
  list=$(dpkg -L fonts-wine 2>/dev/null || true)
  grep -iE '\.ttf$' <<<"$list" || true
}

_clarovia_wine_version() {
  WINEDEBUG=-all timeout 30 wine --version 2>/dev/null || echo unknown
}

_clarovia_stamp() {
  {
    echo "revision $CLAROVIA_TEMPLATE_REVISION"
    echo "arch $(clarovia_winearch)"
    echo "wine $(_clarovia_wine_version)"
    # wine32 beside wine64 leaves the version as it was but breaks a prefix made without it.
    dpkg-query -W -f '${Package}:${Architecture} ${Version}\n' 'wine*' 'libwine*' 2>/dev/null | sort
    echo "user $(id -un)"
    _clarovia_wine_fonts
    _clarovia_reg_text
  } | sha256sum | cut -d' ' -f1
}

# Whether this machine executes 32-bit x86 code: a static i386 program that only exits
# (a few milliseconds). Some machines of this kind do, some do not.
clarovia_runs_32bit() {
  local dir ok=1
  dir=$(mktemp -d)
  printf '.globl _start\n_start:\n  movl $1, %%eax\n  xorl %%ebx, %%ebx\n  int $0x80\n' >"$dir/exit.s"
  if as --32 "$dir/exit.s" -o "$dir/exit.o" 2>/dev/null && ld -m elf_i386 "$dir/exit.o" -o "$dir/exit" 2>/dev/null &&
     "$dir/exit" 2>/dev/null; then
    ok=0
  fi
  rm -rf "$dir"
  return "$ok"
}

# The environment every Wine command of ours runs with (in the current shell).
_clarovia_wine_env() {
  # winemenubuilder would turn the shortcuts that tests write into desktop entries of
  # the Linux user: switched off.
  WINEARCH=$(clarovia_winearch) || return 1
  export WINEARCH WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  # Wine turns shortcuts that the tests write into menu entries of the Linux user: they
  # go to a folder of the build instead of the user's own.
  export XDG_DATA_HOME=$CLAROVIA_ROOT/build/xdg/data XDG_CONFIG_HOME=$CLAROVIA_ROOT/build/xdg/config
  export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
}

# Build the template prefix (caller holds the lock).  Runs without any X display:
# wineboot and reg import create no windows.
_clarovia_build_template() {
  local template=$1 stamp=$2 parent tmp log start
  parent=$(dirname "$template")
  mkdir -p "$parent"
  tmp=$(mktemp -d "$parent/wine-template.new.XXXXXX")
  log="$template.log"
  start=$(_clarovia_now_ms)
  _clarovia_log "building Wine template prefix $template (log $log)"
  if ! (
    set -euo pipefail
    _clarovia_wine_env
    # shellcheck disable=SC2030  # this subshell's own prefix
    export WINEPREFIX="$tmp/prefix"
    unset DISPLAY WAYLAND_DISPLAY
    timeout 180 wineboot -i
    # Registry settings, as a UTF-16 .reg file (the Japanese value names survive any code page).
    { printf '\xff\xfe'; _clarovia_reg_text | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE; } \
      >"$tmp/settings.reg"
    timeout 60 "$(clarovia_wine_native)" regedit /S "Z:${tmp//\//\\}\\settings.reg"
    # Wine's own fonts (marlett.ttf draws the caption buttons).
    local font
    while IFS= read -r font; do
      [[ -n $font ]] && cp -f "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
    done < <(_clarovia_wine_fonts)
    # The user folders are symlinks into $HOME: make them plain folders of the prefix.
    local link
    while IFS= read -r -d '' link; do
      rm -f "$link" && mkdir -p "$link"
    done < <(find "$WINEPREFIX/drive_c/users" -type l -lname '/*' -print0)
    # Let the server exit by itself: it writes the registry files when it does.
    timeout 60 wineserver -w
    grep -q '^"Desktop"="shell"' "$WINEPREFIX/user.reg"
  ) >"$log" 2>&1; then
    _clarovia_log "template build failed; last lines of $log:"
    tail -n 20 "$log" >&2 || true
    clarovia_kill_prefix "$tmp/prefix" || true
    rm -rf "$tmp"
    return 1
  fi
  printf '%s\n' "$stamp" >"$tmp/prefix/.clarovia-stamp"
  rm -f "$tmp/settings.reg"
  # Without this file every copy of the template makes a server directory of its own.
  _clarovia_remove_server_tmpdir "$tmp/prefix"
  rm -f "$tmp/prefix/wineserver"
  # Renames first, so an interrupted run never leaves a half-deleted template with a stamp.
  rm -rf "$template.old"
  [[ ! -e $template ]] || mv "$template" "$template.old"
  mv "$tmp/prefix" "$template"
  rm -rf "$template.old"
  rmdir "$tmp"
  _clarovia_log "template built in $(clarovia_elapsed "$start") s"
}

# Make sure the template exists and carries the current stamp (under a lock, so two
# concurrent runs build it once).
_clarovia_ensure_template() {
  local stamp=$1 template parent
  template=$(_clarovia_template_dir)
  parent=$(dirname "$template")
  mkdir -p "$parent"
  (
    flock -w 600 9 || { _clarovia_log "timed out waiting for $parent/template.lock"; exit 1; }
    if [[ -f $template/.clarovia-stamp && $(<"$template/.clarovia-stamp") == "$stamp" ]]; then
      exit 0
    fi
    _clarovia_build_template "$template" "$stamp"
  ) 9>"$parent/template.lock"
}

clarovia_prepare_prefix() {
  local fresh=0
  if [[ ${1:-} == --fresh ]]; then fresh=1; shift; fi
  local prefix=${1:?usage: clarovia_prepare_prefix [--fresh] PREFIX-DIR}
  local stamp template start
  stamp=$(_clarovia_stamp)
  if (( !fresh )) && [[ -f $prefix/.clarovia-stamp && $(<"$prefix/.clarovia-stamp") == "$stamp" ]]; then
    return 0
  fi
  # Leftovers of an interrupted earlier call (names only this function uses).
  rm -rf "$prefix.tmp" "$prefix.old"
  if [[ -e $prefix ]]; then
    # Only ever delete a prefix this file made (or an empty directory).  Rename it first,
    # so an interrupted deletion never leaves a half-deleted prefix under the real name.
    if [[ -f $prefix/.clarovia-stamp ]]; then
      clarovia_kill_prefix "$prefix"
      _clarovia_remove_server_tmpdir "$prefix"
      mv "$prefix" "$prefix.old"
      rm -rf "$prefix.old"
    elif [[ -d $prefix ]] && [[ -z $(ls -A "$prefix") ]]; then
      rmdir "$prefix"
    else
      _clarovia_log "$prefix exists and was not made by scripts/env.sh; not touching it"
      return 1
    fi
  fi
  _clarovia_ensure_template "$stamp"
  template=$(_clarovia_template_dir)
  start=$(_clarovia_now_ms)
  mkdir -p "$(dirname "$prefix")"
  # Shared lock: no rebuild of the template while it is being copied.
  (
    flock -s -w 600 9 || { _clarovia_log "timed out waiting for the template lock"; exit 1; }
    cp -a "$template" "$prefix.tmp"
  ) 9>"$(dirname "$template")/template.lock"
  mv "$prefix.tmp" "$prefix"
  _clarovia_log "prefix $prefix copied from the template in $(clarovia_elapsed "$start") s"
}

# Pids of the live processes of a prefix: its wineserver (whose Unix working directory is
# the server directory server-<dev>-<inode> of the prefix) and the Wine programs (a wine
# loader executable with WINEPREFIX=<prefix> in their environment).
_clarovia_prefix_pids() {
  local prefix=$1 dev ino suffix path pid
  [[ -d $prefix ]] || return 0
  read -r dev ino < <(stat -L -c '%d %i' "$prefix" 2>/dev/null) || return 0
  suffix=$(printf 'server-%x-%x' "$dev" "$ino")
  while IFS= read -r path; do
    pid=${path#/proc/}; pid=${pid%/*}
    if [[ $path == */exe ]]; then
      grep -qzxF "WINEPREFIX=$prefix" "/proc/$pid/environ" 2>/dev/null || continue
    fi
    _clarovia_alive "$pid" && printf '%s\n' "$pid"
  done < <(find /proc -mindepth 2 -maxdepth 2 \( -name cwd -lname "*/$suffix" \
             -o -name exe -lname '*/wine*' \) -print 2>/dev/null || true) | sort -un
}

# Debian's Wine gives each prefix a server directory /tmp/wine-XXXXXX/server-<dev>-<inode>
# and writes its name into $prefix/wineserver.  Remove it with the prefix (server ended).
_clarovia_remove_server_tmpdir() {
  local prefix=$1 name dir
  [[ -f $prefix/wineserver ]] || return 0
  name=$(<"$prefix/wineserver") || return 0
  [[ $name =~ ^wine-[A-Za-z0-9]{6}$ ]] || return 0
  for dir in "${TMPDIR:-/tmp}/$name" "/tmp/$name"; do
    if [[ -d $dir && -O $dir ]]; then
      rm -rf "$dir" || true
    fi
  done
}

# End every process of a prefix: wineserver -k, then wait (15 s), then SIGKILL what is left.
clarovia_kill_prefix() {
  local prefix=${1:-$(clarovia_default_prefix)} pids i
  pids=$(_clarovia_prefix_pids "$prefix")
  [[ -n $pids ]] || return 0
  WINEPREFIX=$prefix WINEDEBUG=-all timeout 15 wineserver -k >/dev/null 2>&1 || true
  for (( i = 0; i < 150; i++ )); do
    pids=$(_clarovia_prefix_pids "$prefix")
    [[ -n $pids ]] || return 0
    sleep 0.1
  done
  _clarovia_log "Wine processes of $prefix still alive after wineserver -k, killing: ${pids//$'\n'/ }"
  # shellcheck disable=SC2086
  kill -KILL $pids 2>/dev/null || true
  for (( i = 0; i < 50; i++ )); do
    [[ -n $(_clarovia_prefix_pids "$prefix") ]] || return 0
    sleep 0.1
  done
  _clarovia_log "could not end the Wine processes of $prefix"
  return 1
}

# ---------------------------------------------------------------------------------------
# Session: Xvfb, persistent wineserver, "shell" desktop with its taskbar

# True when the display has the "shell" desktop (an explorer.exe window named like
# "shell - Wine desktop") and, inside it, the taskbar: a strip as wide as the desktop
# along its bottom edge.  The desktop is a child of the root window on Xvfb, deeper
# down on a display whose window manager puts a frame around it.
_clarovia_desktop_ready() {
  local tree
  tree=$(timeout 5 xwininfo -root -tree 2>/dev/null) || return 1
  awk '
    function geom(s,   g) {
      if (!match(s, /[0-9]+x[0-9]+[+-][0-9]+[+-][0-9]+/)) return 0
      g = substr(s, RSTART, RLENGTH); gsub(/[+x-]/, " ", g); split(g, G, " "); return 1
    }
    { match($0, /^ */); depth = RLENGTH }
    inside && depth <= D { inside = 0 }
    /^ *0x/ && /"shell/ && /explorer\.exe/ && geom($0) { inside = 1; D = depth; W = G[1]; H = G[2]; next }
    inside && /^ *0x/ && depth == D + 3 && geom($0) && G[1] == W && G[2] < H && G[4] + G[2] == H { found = 1 }
    END { exit !found }
  ' <<<"$tree"
}

# An Xvfb left by a session whose shell died without its traps (kill -9): its pid is in
# the log directory, and it carries our WINEPREFIX in its environment.
_clarovia_kill_stale_xvfb() {
  local pidfile=$1 prefix=$2 pid cmd i
  [[ -f $pidfile ]] || return 0
  pid=$(<"$pidfile")
  rm -f "$pidfile"
  [[ $pid =~ ^[0-9]+$ ]] || return 0
  cmd=$(tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline") || return 0
  [[ $cmd == Xvfb* ]] || return 0
  grep -qzxF "WINEPREFIX=$prefix" "/proc/$pid/environ" 2>/dev/null || return 0
  _clarovia_log "ending Xvfb $pid left by an earlier session"
  kill -TERM "$pid" 2>/dev/null || return 0
  for (( i = 0; i < 50; i++ )); do
    _clarovia_alive "$pid" || return 0
    sleep 0.1
  done
  kill -KILL "$pid" 2>/dev/null || true
}

# Start Xvfb on a free display number and export DISPLAY (part of clarovia_start_session).
_clarovia_start_xvfb() {
  local logdir=$1 n pid i detach=(setsid)
  [[ $- != *m* ]] || detach=()
  _CLAROVIA_XVFB_PIDFILE=$logdir/xvfb.pid
  # A free display number: no socket, no lock file, and Xvfb must come up on it.
  pid=
  for (( n = 90; n < 190; n++ )); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
    # Out of the terminal's process group, so that a Ctrl+C reaches the traps, which end
    # the Wine programs before the display (Xvfb would otherwise die first, taking them
    # along).  With job control (an interactive shell) a background job has its own group
    # already, and setsid would fork: $! would no longer be Xvfb.
    "${detach[@]}" Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset \
      </dev/null >"$logdir/xvfb.log" 2>&1 &
    pid=$!
    _CLAROVIA_XVFB_PID=$pid
    for (( i = 0; i < 100; i++ )); do
      _clarovia_alive "$pid" || break
      DISPLAY=":$n" timeout 5 xdpyinfo >/dev/null 2>&1 && break 2
      sleep 0.1
    done
    # Died (display taken meanwhile) or never answered: try the next number.
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    _CLAROVIA_XVFB_PID=
    pid=
  done
  if [[ -z $pid ]]; then
    _clarovia_log "could not start Xvfb (see $logdir/xvfb.log)"
    return 1
  fi
  export DISPLAY=":$n"
  printf '%s\n' "$pid" >"$_CLAROVIA_XVFB_PIDFILE"
}

# shellcheck disable=SC2120  # the option is optional: callers pass none or --display-from-env
clarovia_start_session() {
  local from_env=0
  if [[ ${1:-} == --display-from-env ]]; then from_env=1; shift; fi
  if [[ -n $_CLAROVIA_XVFB_PID ]] && _clarovia_alive "$_CLAROVIA_XVFB_PID"; then
    return 0   # already running in this shell
  fi
  if [[ -n $_CLAROVIA_ENV_DISPLAY && -n $_CLAROVIA_SESSION_PREFIX ]]; then
    return 0   # already running in this shell, on $DISPLAY
  fi
  if (( from_env )) && ! { [[ -n ${DISPLAY:-} ]] && timeout 5 xdpyinfo >/dev/null 2>&1; }; then
    _clarovia_log "--display-from-env: the X display '${DISPLAY:-}' does not answer"
    return 1
  fi
  local start logdir i
  start=$(_clarovia_now_ms)
  # shellcheck disable=SC2031
  export WINEPREFIX
  WINEPREFIX=$(clarovia_default_prefix)
  _clarovia_wine_env
  clarovia_prepare_prefix "$WINEPREFIX"
  clarovia_kill_prefix "$WINEPREFIX"   # a stale server would ignore our display
  logdir=${CLAROVIA_LOG_DIR:-$CLAROVIA_ROOT/build/session-logs}
  mkdir -p "$logdir"
  _clarovia_kill_stale_xvfb "$logdir/xvfb.pid" "$WINEPREFIX"
  _CLAROVIA_SESSION_PREFIX=$WINEPREFIX

  if (( from_env )); then
    _CLAROVIA_ENV_DISPLAY=$DISPLAY
  elif ! _clarovia_start_xvfb "$logdir"; then
    return 1
  fi

  # Persistent server: the desktop and explorer.exe stay up between test programs.
  if ! timeout 30 wineserver -p </dev/null >>"$logdir/wine.log" 2>&1; then
    _clarovia_log "wineserver -p failed (see $logdir/wine.log)"
    clarovia_stop_session
    return 1
  fi
  # The first program starts services, explorer.exe and the "shell" desktop.  It runs
  # here with its output in the log, so that the long-lived system processes never hold
  # a test runner's output pipe open.
  if ! timeout 60 "$(clarovia_wine_native)" cmd /c exit </dev/null >>"$logdir/wine.log" 2>&1; then
    _clarovia_log "first Wine program failed (see $logdir/wine.log)"
    clarovia_stop_session
    return 1
  fi
  # With wine32 beside wine64, a 32-bit program as well: its first start in a prefix sets
  # up the 32-bit half, which then fails here, with its own words, if it fails at all.
  if [[ $(clarovia_winearch) == win64 && -x /usr/lib/wine/wine && -x /usr/lib/wine/wine64 ]] &&
     ! timeout 60 /usr/lib/wine/wine cmd /c exit </dev/null >>"$logdir/wine.log" 2>&1; then
    _clarovia_log "a 32-bit program did not start in the 64-bit prefix (see $logdir/wine.log)"
  fi
  for (( i = 0; i < 300; i++ )); do
    _clarovia_desktop_ready && break
    sleep 0.1
  done
  if ! _clarovia_desktop_ready; then
    _clarovia_log "the Wine shell desktop did not appear within 30 s"
    clarovia_stop_session
    return 1
  fi
  _clarovia_log "session up in $(clarovia_elapsed "$start") s: DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX"
}

clarovia_stop_session() {
  local rc=$? i
  if [[ -n $_CLAROVIA_SESSION_PREFIX ]]; then
    clarovia_kill_prefix "$_CLAROVIA_SESSION_PREFIX" || true
    _CLAROVIA_SESSION_PREFIX=
  fi
  if [[ -n $_CLAROVIA_XVFB_PID ]]; then
    kill -TERM "$_CLAROVIA_XVFB_PID" 2>/dev/null || true
    for (( i = 0; i < 100; i++ )); do
      _clarovia_alive "$_CLAROVIA_XVFB_PID" || break
      sleep 0.1
    done
    kill -KILL "$_CLAROVIA_XVFB_PID" 2>/dev/null || true
    wait "$_CLAROVIA_XVFB_PID" 2>/dev/null || true
    _CLAROVIA_XVFB_PID=
  fi
  if [[ -n $_CLAROVIA_XVFB_PIDFILE ]]; then
    rm -f "$_CLAROVIA_XVFB_PIDFILE" || true
    _CLAROVIA_XVFB_PIDFILE=
  fi
  _CLAROVIA_ENV_DISPLAY=
  return "$rc"
}

# ---------------------------------------------------------------------------------------
# Signals

# Run a program (not a shell function) in the background, in a process group of its own,
# with an overall time limit (CLAROVIA_RUN_TIMEOUT seconds, default 3600), and wait for it.
# Bash runs a trap only between commands, but "wait" returns at once on a trapped signal:
# so INT/TERM stop the run promptly, and the trap ends the whole group (cmake with ninja
# and the compilers, ctest with the test programs).
clarovia_run() {
  local rc=0
  setsid --wait timeout --kill-after=10 "${CLAROVIA_RUN_TIMEOUT:-3600}" "$@" &
  _CLAROVIA_CHILD_PID=$!
  wait "$_CLAROVIA_CHILD_PID" || rc=$?
  _CLAROVIA_CHILD_PID=
  (( rc != 124 )) || _clarovia_log "timed out after ${CLAROVIA_RUN_TIMEOUT:-3600} s: $*"
  return "$rc"
}

_clarovia_stop_child() {
  local pid=$_CLAROVIA_CHILD_PID i
  [[ -n $pid ]] || return 0
  kill -TERM -- "-$pid" "$pid" 2>/dev/null || true
  for (( i = 0; i < 100; i++ )); do
    _clarovia_alive "$pid" || break
    sleep 0.1
  done
  # What is left of the group (grandchildren) goes now.
  kill -KILL -- "-$pid" "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  _CLAROVIA_CHILD_PID=
}

_clarovia_on_exit() {
  local rc=$?
  _clarovia_stop_child
  clarovia_stop_session
  return "$rc"
}

clarovia_install_traps() {
  trap _clarovia_on_exit EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
}

# clarovia_build PRESET...: configures each preset the first time, then builds it. Ends
# the Wine programs of our prefixes (64- and 32-bit Windows) first: they may map the hook
# library the build replaces.
clarovia_build() {
  local preset arch
  for arch in win64 win32; do
    clarovia_kill_prefix "$(CLAROVIA_WINEARCH=$arch clarovia_default_prefix)"
  done
  for preset in "$@"; do
    if [[ ! -f build/$preset/build.ninja ]]; then
      clarovia_run cmake --preset "$preset"
    fi
    clarovia_run cmake --build --preset "$preset"
  done
}
