#!/usr/bin/env bash
# Runs inside an X server (bench/run starts Xvfb): the game with its music,
# the game with the music off (F8's option), and LTris, in real windows one
# after the other, the same screens held for the same time, keys sent with
# xdotool as a player taps them. Prints one line per measurement:
#   GAME SCREEN CPU_PERCENT
# and GAME rss PEAK_KIB, GAME first-frame MILLISECONDS.
#   window_costs.sh STAKKOR FIRST_PAINT SECONDS
set -euo pipefail
stakkor=$1
first_paint=$2
seconds=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/stakkor-bench-XXXXXX")
trap 'pkill -P $$ 2>/dev/null || true; rm -rf "$work"' EXIT

export SDL_AUDIODRIVER=dummy HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
export STAKKOR_SOUNDFONT=/usr/share/sounds/sf2/TimGM6mb.sf2
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME/stakkor"
# Each run starts from a table of ten empty places: any result enters it,
# so the name entry can be measured.

pid=0
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
# CPU share of one core over `seconds`, with the clock's ticks (100 a second).
measure() {
  local game=$1 screen=$2 before after start end
  sleep 1  # let the screen settle
  before=$(ticks); start=$(date +%s%N)
  sleep "$seconds"
  after=$(ticks); end=$(date +%s%N)
  awk -v t=$((after - before)) -v ns=$((end - start)) -v g="$game" -v s="$screen" \
    'BEGIN { printf "%s %s %.2f\n", g, s, t * 1e9 / ns }'
}
# A key held about 100 ms, as a player's tap.
key() { xdotool keydown "$1"; sleep 0.1; xdotool keyup "$1"; sleep 0.3; }
start_game() {
  local out
  out=$("$first_paint" "$@")
  pid=${out% *}
  echo "$game first-frame ${out#* }"
}
peak_rss() { echo "$game rss $(awk '/VmHWM/ {print $2}' "/proc/$pid/status")"; }

# Title, menu, a one-player match (a piece dropped, so that the table has a
# place for it), its pause, the name entry, the table, a two-player match,
# its result screen and the closing logo.
run_stakkor() {
  head -c 424 /dev/zero > "$XDG_DATA_HOME/stakkor/HISCORE.DAT"
  start_game "$stakkor" --window
  sleep 3
  measure $game title
  key space; measure $game menu
  key Return; measure $game match-1p
  key p; measure $game pause; key space
  key Control_L; sleep 0.5; key Escape; measure $game name-entry
  key Return; measure $game hiscore
  key Escape; sleep 0.5
  key Down; key Down; key space; key Up; key Up; key Return; measure $game match-2p
  key Escape; measure $game result
  key Return; sleep 0.5; key Escape; measure $game closing-logo
  peak_rss
  key Return; sleep 2
  kill "$pid" 2>/dev/null || true
}

game=stakkor
run_stakkor
game=stakkor-silent
mkdir -p "$XDG_CONFIG_HOME/Kolvanic/Stakkor"
printf '0 0 1' > "$XDG_CONFIG_HOME/Kolvanic/Stakkor/Options"
run_stakkor

game=ltris
start_game /usr/games/ltris
sleep 3
wid=$(xdotool search --pid "$pid" | head -1)
xdotool windowfocus --sync "$wid"; xdotool mousemove 320 240
measure $game menu
# New Game, then its Start Game: LTris's one-player game (no music of its own).
key Down; key Return; key Return; measure $game match-1p
key p; measure $game pause; key p
peak_rss
kill "$pid" 2>/dev/null || true
