#!/usr/bin/env bash
# Takes the pictures of the library's boxes and dialogs: runs corelink_shots.exe, and for each
# "SHOT NAME HWND X Y W H" it prints, crops the window out of the test display into
# docs/screenshots/NAME.png and answers "next". Runs inside the test environment (./run
# screenshots), which gives DISPLAY and the Wine prefix. Arguments: one step's name, or none.
set -euo pipefail
: "${ROOT:?}" "${BUILD:?}" "${DISPLAY:?}"
OUT=$ROOT/docs/screenshots
mkdir -p "$OUT"

coproc SHOTS { cd "$BUILD/bin" && exec wine corelink_shots.exe "$@" 2>/dev/null; }
status=0
while IFS= read -r line <&"${SHOTS[0]}"; do
  line=${line%$'\r'}
  case $line in
    SHOT\ *)
      read -r _ name _ x y w h layers <<<"$line"
      # The window has painted; let the X server finish drawing it. A picture that is still a
      # fifth black (an X window not drawn yet) is taken again.
      for attempt in 1 2 3 4 5 6 7 8 9 10; do
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
        [ "$(convert "$OUT/$name.png" -fill white +opaque black -format '%[fx:mean<0.8]' info:)" = 0 ] && break
      done
      echo "[shots] $name.png (${w}x${h})" >&2
      echo next >&"${SHOTS[1]}"
      ;;
    MISSING\ *) echo "[shots] no window for ${line#MISSING }" >&2; status=1 ;;
    DONE) break ;;
  esac
done
wait "$SHOTS_PID" 2>/dev/null || true
exit $status
