#!/bin/sh
# Starts or stops the X server the X11 tests share, as a CTest fixture.
#   xvfb.sh start STATE   starts Xvfb on a free display; STATE gets "DISPLAY PID"
#   xvfb.sh stop STATE    stops the server named in STATE and removes STATE
# The tests read STATE (ORVANE_X11_STATE) to find the display.
set -eu
action=$1
state=$2

case "$action" in
start)
  if [ -f "$state" ]; then
    # A server left by an interrupted run: stop it first.
    "$0" stop "$state" || true
  fi
  mkdir -p "$(dirname "$state")"
  fifo=$(mktemp -u "${state}.fd.XXXXXX")
  mkfifo "$fifo"
  # -displayfd picks a free display and writes its number once the server accepts clients.
  Xvfb -displayfd 3 -screen 0 2560x1600x24 -nolisten tcp \
    3>"$fifo" >"${state}.log" 2>&1 &
  pid=$!
  number=$(head -n 1 "$fifo")
  rm -f "$fifo"
  if [ -z "$number" ] || ! kill -0 "$pid" 2>/dev/null; then
    echo "Xvfb did not start:" >&2
    cat "${state}.log" >&2
    exit 1
  fi
  echo ":$number $pid" >"$state"
  echo "Xvfb on :$number (pid $pid)"
  ;;
stop)
  [ -f "$state" ] || exit 0
  pid=$(cut -d' ' -f2 "$state")
  if kill "$pid" 2>/dev/null; then
    i=0
    while kill -0 "$pid" 2>/dev/null && [ $i -lt 50 ]; do
      sleep 0.1
      i=$((i + 1))
    done
  fi
  rm -f "$state"
  ;;
*)
  echo "usage: $0 start|stop STATE" >&2
  exit 2
  ;;
esac
