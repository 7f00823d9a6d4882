#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks that every file a desktop needs is
# there, and starts the installed program offscreen from an unrelated folder with a fresh
# settings folder: it must write its settings on start-up, keep running until it is sent
# SIGTERM, and say nothing on its outputs.
# Usage: check-install.sh BUILD_DIR
set -euo pipefail

build_dir=$1
app_id=org.brenavo.Brenavo
icon_sizes=(16 32 48 64 128 256)
help_pages=(index.htm brv_intro_faq.htm brv_intro_hotkeys.htm brv_musicTheory_intro.htm)

work=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# Width and height of a PNG, from its IHDR chunk.
png_size() {
  od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'
}

# A desktop entry's value for a key, from its main group.
desktop_value() {
  sed -n "s/^$2=//p" "$1" | head -n 1
}

cmake --install "$build_dir" --prefix "$prefix" >"$work/install.log"

# ---- The installed files.
binary=$prefix/bin/brenavo
desktop=$prefix/share/applications/$app_id.desktop
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
[ -x "$binary" ] || fail "no program at bin/brenavo"
[ -f "$desktop" ] || fail "no desktop entry at share/applications/$app_id.desktop"
[ -f "$metainfo" ] || fail "no AppStream data at share/metainfo/$app_id.metainfo.xml"
[ -f "$prefix/share/icons/hicolor/scalable/apps/brenavo.svg" ] || fail "no scalable icon"
for size in "${icon_sizes[@]}"; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/brenavo.png
  if [ ! -f "$icon" ]; then
    fail "no ${size}x${size} icon"
  elif [ "$(png_size "$icon")" != "${size}x${size}" ]; then
    fail "the ${size}x${size} icon is $(png_size "$icon")"
  fi
done
for page in "${help_pages[@]}"; do
  [ -f "$prefix/share/doc/brenavo/help/$page" ] || fail "no help page $page"
done

if [ -f "$desktop" ]; then
  desktop-file-validate "$desktop" || fail "the installed desktop entry does not validate"
  [ "$(desktop_value "$desktop" Exec)" = brenavo ] || fail "the desktop entry does not start brenavo"
  icon_name=$(desktop_value "$desktop" Icon)
  [ -f "$prefix/share/icons/hicolor/48x48/apps/$icon_name.png" ] ||
    fail "the desktop entry names an icon that is not installed: $icon_name"
fi
if [ -f "$metainfo" ]; then
  grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
    fail "the AppStream data does not launch the installed desktop entry"
fi

# ---- The installed program, started from somewhere else.
# It has come up once its settings file exists (written while the window is created); a
# moment later it must still be running, and it ends at SIGTERM like any desktop program.
elsewhere=$work/elsewhere
settings="$work/config/Brenavo/Brenavo 2.0.conf"
mkdir -p "$elsewhere" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
if [ -x "$binary" ]; then
  cd "$elsewhere"
  env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen \
    XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" \
    "$binary" >"$work/stdout" 2>"$work/stderr" &
  pid=$!
  for _ in $(seq 1 300); do
    [ -f "$settings" ] || ! kill -0 "$pid" 2>/dev/null && break
    sleep 0.1
  done
  sleep 1
  status=0
  if kill -0 "$pid" 2>/dev/null; then
    kill -TERM "$pid"
    wait "$pid" || status=$?
    pid=
    [ "$status" -eq 143 ] || fail "the installed program did not end at SIGTERM (status $status)"
  else
    wait "$pid" || status=$?
    pid=
    fail "the installed program ended by itself with status $status"
  fi
  cd "$work"
  # The offscreen platform cannot size a window to its hints and says so; nothing else
  # may be printed.
  grep -v '^This plugin does not support propagateSizeHints()$' "$work/stderr" >"$work/said" || true
  if [ -s "$work/stdout" ] || [ -s "$work/said" ]; then
    fail "the installed program printed:"
    cat "$work/stdout" "$work/said" >&2
  fi
  if [ ! -f "$settings" ]; then
    fail "the installed program wrote no settings on start-up"
  else
    values=$(grep -c '^[A-Za-z_][A-Za-z0-9_]*=-\?[0-9][0-9]*$' "$settings" || true)
    [ "$values" -eq 17 ] || fail "the new settings file holds $values numeric values, not 17"
  fi
  [ -z "$(ls -A "$elsewhere")" ] || fail "the program left files in the folder it was started from"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "installed into a temporary prefix; the program started from another folder"
