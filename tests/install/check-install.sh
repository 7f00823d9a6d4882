#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks that every file a desktop needs is
# there, and starts the installed program offscreen from an unrelated folder with a fresh
# settings folder: it must write its settings, keep running until SIGTERM, print nothing
# and leave nothing behind in that folder.
# Usage: check-install.sh BUILD_DIR
set -euo pipefail

app_id=org.brenavo.Brenavo
work=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
prefix=$work/prefix
desktop=$prefix/share/applications/$app_id.desktop
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

cmake --install "$1" --prefix "$prefix" >"$work/install.log"

for file in bin/brenavo share/metainfo/$app_id.metainfo.xml share/icons/hicolor/scalable/apps/brenavo.svg \
  share/doc/brenavo/help/{index,brv_intro_faq,brv_intro_hotkeys,brv_musicTheory_intro}.htm; do
  [ -s "$prefix/$file" ] || fail "nothing installed at $file"
done
for size in 16 32 48 64 128 256; do  # width and height from each PNG's header
  [ "$(od -An -tu4 --endian=big -j16 -N8 "$prefix/share/icons/hicolor/${size}x${size}/apps/brenavo.png" |
    xargs)" = "$size $size" ] || fail "no ${size}x${size} icon"
done
grep -qx 'Exec=brenavo' "$desktop" || fail "the installed desktop entry does not start brenavo"
grep -qx 'Icon=brenavo' "$desktop" || fail "the installed desktop entry names another icon"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" \
  "$prefix/share/metainfo/$app_id.metainfo.xml" || fail "the AppStream data launches another entry"

# It has come up once its settings file exists (written while the window is created); a
# moment later it must still be running, and it ends at SIGTERM like any desktop program.
settings="$work/config/Brenavo/Brenavo 2.0.conf"
mkdir "$work/elsewhere" && mkdir -m 700 "$work/runtime" && cd "$work/elsewhere"
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config" \
  XDG_RUNTIME_DIR="$work/runtime" "$prefix/bin/brenavo" >"$work/stdout" 2>"$work/stderr" &
pid=$!
for _ in $(seq 300); do
  [ -f "$settings" ] || ! kill -0 "$pid" 2>/dev/null && break
  sleep 0.1
done
sleep 1
status=0
if kill -0 "$pid" 2>/dev/null && kill -TERM "$pid"; then
  wait "$pid" || status=$?
  [ "$status" -eq 143 ] || fail "the installed program did not end at SIGTERM (status $status)"
else
  fail "the installed program ended by itself"
fi
pid=
[ -f "$settings" ] || fail "the installed program wrote no settings on start-up"
[ -z "$(ls -A)" ] || fail "the program left files in the folder it was started from"
# The offscreen platform cannot size a window to its hints and says so; nothing else may be printed.
said=$(cat "$work/stdout"; grep -v '^This plugin does not support propagateSizeHints()$' "$work/stderr" || true)
[ -z "$said" ] || fail "the installed program printed: $said"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "installed into a temporary prefix; the program started from another folder"
