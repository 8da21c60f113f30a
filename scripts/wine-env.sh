# shellcheck shell=bash
# Sourced by the scripts that run QM47 or its tests under Wine, so that they
# all run it the same way, and each run has a display, prefix and serial line
# of its own and ends only what it started:
#
#   begin_wine_run NAME [SCREEN] begin_run, then a display and a headless
#                                prefix of the run's own in $run_dir
#   use_prefix DIR               the run's Wine prefix (exported as WINEPREFIX)
#   start_display DIR [SCREEN]   an Xvfb display of its own (exports DISPLAY)
#   make_prefix headless|managed makes the prefix (once: again when a run
#                                was interrupted making it) and sets it up
#   map_com_port PORT DIR FILE [--hex]
#                                a pty as PORT, its bytes written to FILE
#   map_controlled_com_port PORT DIR FILE
#                                the same, with a far end the tests drive
#                                (held with XOFF, hung up, reconnected)
#   run_wine [--32] [--within SECONDS] PROGRAM ARGS...
#                                runs a Windows program (--32: the 32-bit loader)
#   start_wine ...               the same in the background (PID: started_pid),
#                                Wine's own output kept in $wine_log
#   wait_for_window REGEX SECONDS [PID]
#                                a visible top-level window of that title
#                                (fails at once when the program PID has ended)
#   end_started                  ends all of the above: call it on exit
#
# Wine runs without debug output and Mono/Gecko prompts, and with the Polish
# code page: LC_ALL=pl_PL.UTF-8 on the commands that start Wine programs
# (Wine then uses code page 1250; the Linux locale need not be installed).
# QM47_WINE_LOCALE names another Windows language (en_US.UTF-8: code page
# 1252, as on an English Windows); QM47_WINE_DPI gives the prefixes it makes
# that screen resolution (LogPixels; 144 is 150 %).
# QM47_WINE_LOADER replaces the 64-bit loader (the scripts' own test gives a
# wrapper that makes the program's start slow or fail).

# shellcheck source=scripts/common.sh
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

# Named explicitly: once wine32 is installed, `wine` starts the 32-bit loader.
wine_loader=${QM47_WINE_LOADER:-/usr/lib/wine/wine64}
[ -x "$wine_loader" ] || wine_loader=$(command -v wine64 || command -v wine || echo wine64)
wine32_loader=/usr/lib/wine/wine
[ -x "$wine32_loader" ] || wine32_loader=$(command -v wine || echo wine)
wineserver_bin=/usr/lib/wine/wineserver
[ -x "$wineserver_bin" ] || wineserver_bin=$(command -v wineserver || echo wineserver)

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
unset WINELOADER WINESERVER

started_pids=() # what this run started, ended by end_started in reverse
held_fds=()     # ptys this run keeps open
prefix_in_use=
started_pid=
wine_log=/dev/null # begin_run keeps it in the run's folder

use_prefix() {
  export WINEPREFIX=$1
  prefix_in_use=1
}

# Sets wine_argv to the command that runs a Windows program as every script
# here runs it: the Polish code page; the 64-bit loader, or with --32 the
# 32-bit one; with --within SECONDS, ended when it runs longer (killed 10 s
# later). wine_options: how many of the arguments were these options.
wine_command() { # [--32] [--within SECONDS] ...
  local loader=$wine_loader
  wine_argv=(env LC_ALL="${QM47_WINE_LOCALE:-pl_PL.UTF-8}")
  wine_options=0
  while :; do
    case ${1:-} in
      --32) loader=$wine32_loader; shift; wine_options=$((wine_options + 1)) ;;
      --within) wine_argv+=(timeout --kill-after=10 "$2"); shift 2; wine_options=$((wine_options + 2)) ;;
      *) break ;;
    esac
  done
  wine_argv+=("$loader")
}
run_wine() { # [--32] [--within SECONDS] PROGRAM [ARGUMENT...]
  local wine_argv wine_options
  wine_command "$@"
  shift "$wine_options"
  "${wine_argv[@]}" "$@"
}
# The same in the background; started_pid is the program's own process.
start_wine() {
  local wine_argv wine_options
  wine_command "$@"
  shift "$wine_options"
  "${wine_argv[@]}" "$@" 2>>"$wine_log" &
  started_pid=$!
  started_pids+=("$started_pid")
}

# The last lines of Wine's own output in this run, for a failure report.
show_wine_log() {
  echo "Wine's last lines (all of them in $wine_log):"
  tail -n 15 "$wine_log" | tr -d '\r' | sed 's/^/    /'
}

# Ends the prefix's Wine programs and its wineserver; the next Wine command
# starts them again, reading the registry afresh. The server writes the
# registry as it ends: a prefix this run made is marked made only then.
stop_wineserver() {
  "$wineserver_bin" -k 2>/dev/null || true
  "$wineserver_bin" -w 2>/dev/null || true
  if [ -n "$prefix_to_mark" ] && [ "$prefix_to_mark" = "${WINEPREFIX:-}" ]; then
    : >"$WINEPREFIX/$prefix_marker"
    prefix_to_mark=
  fi
}

# Xvfb writes the display's number and a newline once it accepts clients.
display_number_written() {
  grep -qs '[0-9]' "$1" && [ -z "$(tail -c 1 "$1")" ]
}

start_display() { # DIR [SCREEN]
  local dir=$1 screen=${2:-1280x1024x24}
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
  started_pids+=("$!")
  if ! poll_seconds=0.02 wait_for 10 display_number_written "$dir/display"; then
    echo "Xvfb did not start:" >&2
    cat "$dir/xvfb.log" >&2
    return 1
  fi
  DISPLAY=:$(tr -dc '0-9' <"$dir/display")
  export DISPLAY
}

# A prefix counts as made once it holds this marker, written after its making
# finished and its server ended: a run interrupted while making it (Wine's
# registry is there early) leaves a prefix that the next run makes again.
prefix_marker=qm47-prefix-made
prefix_to_mark=
prefix_made() { [ -f "$WINEPREFIX/$prefix_marker" ]; }

# Makes the prefix when it is not made yet and sets it up as the tests need
# it: Wine's own fonts (Tahoma, the windows' face, is then Wine's and not
# whatever the machine would substitute), a crash ending the program at once
# instead of starting the debugger, and, when headless, windows not managed
# by a window manager (on Xvfb there is none, and every window closing would
# wait about 2 s). Each step is bounded (10 minutes: the slowest, under i386
# emulation). Wine's output goes to $wine_log. The marker is written by the
# next stop_wineserver (map_com_port's, or end_started's at the latest), so
# that making a prefix costs no extra start of its server.
make_prefix() { # headless|managed
  local windows=$1 settings new=
  if ! prefix_made; then
    new=1
    if [ -e "$WINEPREFIX" ]; then
      echo "$WINEPREFIX: its making did not finish; making it again" >&2
      stop_wineserver
      rm -rf "$WINEPREFIX"
    fi
    if [ -n "${QM47_PREFIX_TEMPLATE:-}" ]; then
      copy_prefix_template || return 1
    else
      boot_prefix || return 1
    fi
  fi
  settings=$(mktemp "${TMPDIR:-/tmp}/qm47-prefix.XXXXXX.reg")
  {
    echo REGEDIT4
    local key
    for key in 'HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
               'HKEY_LOCAL_MACHINE\Software\Wow6432Node\Microsoft\Windows NT\CurrentVersion\AeDebug'; do
      printf '\n[%s]\n"Debugger"=""\n"Auto"="1"\n' "$key"
    done
    if [ -n "${QM47_WINE_DPI:-}" ]; then
      printf '\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=dword:%08x\n' "$QM47_WINE_DPI"
    fi
    printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n'
    if [ "$windows" = managed ]; then echo '"Managed"=-'; else echo '"Managed"="N"'; fi
  } >"$settings"
  if ! run_wine --within 600 regedit /S "$(windows_path "$settings")" >>"$wine_log" 2>&1; then
    rm -f "$settings"
    echo "could not set up $WINEPREFIX" >&2
    show_wine_log >&2
    return 1
  fi
  rm -f "$settings"
  [ -z "$new" ] || prefix_to_mark=$WINEPREFIX
}

# wineboot makes $WINEPREFIX, with Wine's own fonts added.
boot_prefix() {
  if ! run_wine --within 600 wineboot -i >>"$wine_log" 2>&1; then
    echo "wineboot could not make $WINEPREFIX" >&2
    show_wine_log >&2
    return 1
  fi
  if [ -d /usr/share/wine/fonts ]; then
    cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  fi
}

# With QM47_PREFIX_TEMPLATE set (scripts/test.sh sets it for its stages), a
# new prefix is a copy of one made once in that folder, the first time a run
# needs it (the runs that want it at once wait for each other): wineboot
# takes 15 to 30 s, longer under i386 emulation, a copy well under a second.
# Its files are hard links, except those Wine writes to (the registry, the
# .ini files, the update stamp), which are copies of their own.
copy_prefix_template() {
  # One per Windows language: Wine writes the locale's settings into the prefix it makes.
  local template=$QM47_PREFIX_TEMPLATE/prefix-${QM47_WINE_LOCALE:-pl_PL.UTF-8}
  mkdir -p "$QM47_PREFIX_TEMPLATE" || return 1
  (
    flock 9
    WINEPREFIX=$template
    prefix_made && exit 0
    rm -rf "$WINEPREFIX"
    boot_prefix || exit 1
    "$wineserver_bin" -k 2>/dev/null
    "$wineserver_bin" -w 2>/dev/null
    : >"$WINEPREFIX/$prefix_marker"
  ) 9>"$QM47_PREFIX_TEMPLATE/lock" || return 1
  rm -rf "$WINEPREFIX"
  # Hard links need one file system; elsewhere a copy of every file.
  cp -al "$template" "$WINEPREFIX" 2>/dev/null || { rm -rf "$WINEPREFIX" && cp -a "$template" "$WINEPREFIX"; } || return 1
  rm -f "$WINEPREFIX/$prefix_marker" # marked made once this run's server has ended, as any new prefix
  (cd "$template" && find . -name '*.reg' -o -name '*.ini' -o -name .update-timestamp) |
    while read -r file; do cp --remove-destination "$template/$file" "$WINEPREFIX/$file" || exit 1; done
}

windows_path() { # a Unix path as Wine sees it on drive Z:
  local path=$1
  printf 'Z:%s' "${path//\//\\}"
}

# PORT (e.g. COM3) becomes a pty made by socat, which writes every byte the
# program sends to FILE (as a hex dump with --hex). The run keeps the pty open
# itself, so that the line survives the program closing the port. Sets
# pty_device. The mapping takes effect when the prefix's services start
# again, so this ends the prefix's Wine programs.
map_com_port() { # PORT DIR FILE [--hex]
  local port=$1 dir=$2 file=$3 link=$2/$1-pty fd
  if [ "${4:-}" = --hex ]; then
    socat -u -x "PTY,raw,echo=0,link=$link" OPEN:/dev/null 2>>"$file" &
  else
    socat -u "PTY,raw,echo=0,link=$link" "CREATE:$file" 2>"$dir/socat-$port.log" &
  fi
  started_pids+=("$!")
  if ! poll_seconds=0.02 wait_for 10 test -e "$link"; then
    echo "socat did not make the pty for $port" >&2
    return 1
  fi
  pty_device=$(readlink -f "$link")
  exec {fd}<>"$pty_device"
  held_fds+=("$fd")
  run_wine reg add 'HKLM\Software\Wine\Ports' /v "$port" /t REG_SZ /d "$pty_device" /f >/dev/null || return 1
  stop_wineserver
}

# PORT (e.g. COM4) becomes a pty whose far end the tests drive through the
# folder DIR/PORT-control. A test creates a file there and waits until it is
# gone again, which the controller does once the line is in that state:
#   xoff       the printer holds the line (XOFF); gone once the program's
#              output is stopped. Acted on only once the line obeys XOFF,
#              which the program's port code sets: on a fresh or reconnected
#              line the request waits for it.
#   xon        the printer releases it (XON); gone once output flows again
#   hangup     the device vanishes (the far end closes the pty)
#   reconnect  the device comes back, at the same name
# Every byte the program sends is appended to FILE (also the zero bytes the
# controller writes to find out whether output flows; a request is gone only
# once FILE holds them). The port is mapped to the pty's link rather than the
# pty, so that a reconnected line is found.
map_controlled_com_port() { # PORT DIR FILE
  local port=$1 dir=$2 file=$3 link=$2/$1-pty
  mkdir -p "$dir/$port-control"
  mkfifo "$dir/$port-to-line"
  : >"$file"
  controlled_line "$link" "$dir/$port-control" "$dir/$port-to-line" "$file" &
  started_pids+=("$!")
  if ! poll_seconds=0.02 wait_for 10 test -e "$link"; then
    echo "socat did not make the pty for $port" >&2
    return 1
  fi
  run_wine reg add 'HKLM\Software\Wine\Ports' /v "$port" /t REG_SZ /d "$link" /f >/dev/null || return 1
  stop_wineserver
}

# Whether a zero byte can be written on the line without waiting: false
# while the printer holds it with XOFF. Counts the zero bytes that went out
# in probe_bytes.
output_flows() {
  printf '\0' | dd of="$1" oflag=nonblock conv=notrunc status=none 2>/dev/null && probe_bytes=$((probe_bytes + 1))
}
output_stopped() { ! output_flows "$1"; }
# Whether the line's terminal obeys XOFF. A fresh pty does not (socat makes
# it raw, which clears ixon; the program's SetCommState sets it): an XOFF
# sent then is an ordinary byte, the output never stops, and every probe
# above puts one more zero byte on the line, 20 to 25 a second, ahead of the
# program's next bytes.
obeys_xoff() { stty -F "$1" -a 2>/dev/null | grep -Eq '(^| )ixon( |$)'; }
captured() { [ "$(stat -c %s "$1")" -ge "$2" ]; } # FILE SIZE

controlled_line() { # LINK CONTROL FIFO FILE
  local link=$1 control=$2 fifo=$3 file=$4 to_line line_pid=
  # Held open for writing, so that the line never reads an end of input.
  exec {to_line}<>"$fifo"
  start_line() {
    socat "PTY,raw,echo=0,link=$link" "PIPE:$fifo!!OPEN:$file,creat,append" 2>/dev/null &
    line_pid=$!
    # Not this shell's job any more: bash would report it "Killed" on hang-up.
    disown "$line_pid"
    poll_seconds=0.02 wait_for 10 test -e "$link"
  }
  end_line() {
    [ -n "$line_pid" ] || return 0
    # Killed outright, as a device pulled out. Not waited for: its end can
    # take until the program lets go of the line. The port's name goes with
    # the link at once.
    kill -KILL "$line_pid" 2>/dev/null
    line_pid=
    rm -f "$link"
  }
  # Sends XOFF or XON and waits until the line is in that state and FILE holds
  # the probes' zero bytes, so that none arrives after the request is done.
  send_flow_byte() { # BYTE CONDITION
    local before
    before=$(stat -c %s "$file")
    probe_bytes=0
    printf '%b' "$1" >&"$to_line"
    poll_seconds=0.02 wait_for 5 "$2" "$link" && poll_seconds=0.02 wait_for 5 captured "$file" $((before + probe_bytes))
  }
  trap 'end_line; exit 0' TERM
  # The line going down hangs up whoever had it open, the controller included.
  trap '' HUP
  start_line
  while :; do
    if [ -e "$control/xoff" ] && obeys_xoff "$link"; then
      send_flow_byte '\023' output_stopped && rm -f "$control/xoff"
    fi
    if [ -e "$control/xon" ]; then
      send_flow_byte '\021' output_flows && rm -f "$control/xon"
    fi
    if [ -e "$control/hangup" ]; then
      end_line
      poll_seconds=0.02 wait_for 5 test ! -e "$link" && rm -f "$control/hangup"
    fi
    if [ -e "$control/reconnect" ]; then
      [ -n "$line_pid" ] || start_line
      rm -f "$control/reconnect"
    fi
    sleep 0.02
  done
}

window_shown() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
window_shown_or_ended() { # REGEX [PID]
  window_shown "$1" || { [ -n "$2" ] && ! kill -0 "$2" 2>/dev/null; }
}
wait_for_window() { # REGEX SECONDS [PID]
  wait_for "$2" window_shown_or_ended "$1" "${3:-}" && window_shown "$1"
}
# The titles of the visible windows on the display, quoted, or "none".
window_titles() {
  local id titles=
  for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    titles+="${titles:+, }\"$(xdotool getwindowname "$id" 2>/dev/null)\""
  done
  echo "${titles:-none}"
}

# Ends what this run started, and only that: the Wine programs of its own
# prefix, then its socat and Xvfb by PID.
end_started() {
  local fd i pid
  if [ -n "$prefix_in_use" ] && [ -d "$WINEPREFIX" ]; then stop_wineserver; fi
  for fd in "${held_fds[@]}"; do exec {fd}>&-; done
  held_fds=()
  for ((i = ${#started_pids[@]} - 1; i >= 0; i--)); do
    pid=${started_pids[i]}
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  started_pids=()
}

# Makes this run's own folder, $run_dir, and sees to it that at exit what the
# run started is ended and the folder removed (kept, to look into, when
# QM47_KEEP_RUN is set).
begin_run() { # NAME
  run_dir=$(mktemp -d "${TMPDIR:-/tmp}/qm47-$1.XXXXXX")
  wine_log=$run_dir/wine.log
  trap end_run EXIT
  trap 'exit 130' INT TERM
}
begin_wine_run() { # NAME [SCREEN]
  begin_run "$1"
  start_display "$run_dir" "${2:-}"
  use_prefix "$run_dir/prefix"
  make_prefix headless
}
# shellcheck disable=SC2317  # run by the EXIT trap
end_run() {
  local status=$?
  trap - EXIT INT TERM
  end_started
  if [ -n "${QM47_KEEP_RUN:-}" ]; then
    echo "run folder kept: $run_dir" >&2
  else
    rm -rf "$run_dir"
  fi
  exit "$status"
}
