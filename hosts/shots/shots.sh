#!/usr/bin/env bash
# Takes the pictures of the library's boxes and dialogs: runs corelink_shots.exe once for each
# language, under that language's locale (so that Wine's own texts, the boxes' buttons among
# them, are in that language too), and for each "SHOT NAME HWND X Y W H" it prints, crops the
# window out of the test display into docs/screenshots/NAME.png and answers "next". A picture
# that shows nothing new against the committed one (the same pixels, but for the part a
# "VOLATILE X Y W H" line before it names) keeps the committed file, so that running it again
# changes only what really changed. Runs inside the test environment (./run screenshots),
# which gives DISPLAY and the Wine prefix. Arguments: one step's name (NAME_LANGUAGE), or none.
set -euo pipefail
: "${ROOT:?}" "${BUILD:?}" "${DISPLAY:?}"
OUT=$ROOT/docs/screenshots
mkdir -p "$OUT"
only=${1:-}

# Each language's suffix and the locale its pictures are taken under.
LANGUAGES=("en en_US.UTF-8" "de de_DE.UTF-8" "ja ja_JP.UTF-8")

# The picture NAME.png as it is committed, when its pixels are the new one's but for the part
# given (X Y W H, may be empty): then the committed file stays as it is.
keep_committed() {
  local name=$1 x=${2:-} y=${3:-} w=${4:-} h=${5:-}
  local file=$OUT/$name.png work
  work=$(mktemp -d)
  local same=1
  if git -C "$ROOT" show "HEAD:docs/screenshots/$name.png" >"$work/old.png" 2>/dev/null &&
     [ "$(identify -format '%wx%h' "$work/old.png")" = "$(identify -format '%wx%h' "$file")" ]; then
    cp "$file" "$work/new.png"
    if [ -n "$x" ]; then
      local box="rectangle $x,$y $((x + w - 1)),$((y + h - 1))"
      convert "$work/old.png" -fill black -draw "$box" "$work/old.png"
      convert "$work/new.png" -fill black -draw "$box" "$work/new.png"
    fi
    if [ "$(compare -metric AE "$work/old.png" "$work/new.png" null: 2>&1 || true)" = 0 ]; then
      git -C "$ROOT" show "HEAD:docs/screenshots/$name.png" >"$file"
      same=0
    fi
  fi
  rm -rf "$work"
  return $same
}

status=0
declare -A agains=()
for entry in "${LANGUAGES[@]}"; do
  read -r suffix locale <<<"$entry"
  [ -z "$only" ] || [[ $only == *_"$suffix" ]] || continue
  coproc SHOTS { cd "$BUILD/bin" && exec env -u LANGUAGE LC_ALL="$locale" wine corelink_shots.exe "$suffix" $only 2>/dev/null; }
  pid=$SHOTS_PID
  volatile=""
  while IFS= read -r line <&"${SHOTS[0]}"; do
    line=${line%$'\r'}
    case $line in
      VOLATILE\ *) volatile=${line#VOLATILE } ;;
      SHOT\ *)
        read -r _ name _ x y w h layers <<<"$line"
        drawn=0
        # The window has painted; let the X server finish drawing it. A picture that is still a
        # fifth black (an X window not drawn yet) is taken again, for up to 3 s.
        for attempt in $(seq 10); do
          sleep 0.3
          if [ -z "$layers" ]; then
            xwd -root -silent -display "$DISPLAY" | convert xwd:- -crop "${w}x${h}+${x}+${y}" +repage "$OUT/$name.png"
          else
            convert -size "${w}x${h}" xc:white "$OUT/$name.png"
          fi
          # Several windows ("XID:DX:DY", bottom first): each laid on a white picture in that order.
          for layer in $layers; do
            IFS=: read -r xid dx dy <<<"$layer"
            xwd -id "$xid" -silent -display "$DISPLAY" | convert "$OUT/$name.png" xwd:- -geometry "+${dx}+${dy}" -composite "$OUT/$name.png"
          done
          if [ "$(convert "$OUT/$name.png" -fill white +opaque black -format '%[fx:mean<0.8]' info:)" = 0 ]; then
            drawn=1
            break
          fi
        done
        # Still undrawn: the host paints its windows again and reports them anew.
        if [ $drawn = 0 ] && [ "${agains[$name]:-0}" -lt 3 ]; then
          agains[$name]=$(( ${agains[$name]:-0} + 1 ))
          echo "[shots] $name.png: drawn again" >&2
          echo again >&"${SHOTS[1]}"
          continue
        fi
        # shellcheck disable=SC2086 # the part's four numbers
        if keep_committed "$name" $volatile; then
          echo "[shots] $name.png (${w}x${h}): as committed" >&2
        else
          echo "[shots] $name.png (${w}x${h})" >&2
        fi
        volatile=""
        echo next >&"${SHOTS[1]}"
        ;;
      MISSING\ *) echo "[shots] no window for ${line#MISSING }" >&2; status=1 ;;
      DONE) break ;;
    esac
  done
  wait "$pid" 2>/dev/null || true
done
exit $status
