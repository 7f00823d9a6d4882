#!/usr/bin/env bash
# Usage: check-install.sh BUILD_DIR. Installs the build into a temporary prefix, checks the files a
# desktop needs, and starts the installed program offscreen from an unrelated folder with a fresh
# settings folder: it must write its settings, keep running until SIGTERM, print nothing and leave
# nothing behind.
set -euo pipefail

app_id=org.brenavo.Brenavo
work=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

cmake --install "$1" --prefix "$work" >"$work/install.log"
for file in bin/brenavo share/metainfo/$app_id.metainfo.xml share/icons/hicolor/scalable/apps/brenavo.svg \
  share/doc/brenavo/help/{index,brv_intro_faq,brv_intro_hotkeys,brv_musicTheory_intro}.htm; do
  [ -s "$work/$file" ] || fail "nothing installed at $file"; done
for size in 16 32 48 64 128 256; do  # width and height from each PNG's header
  png=$work/share/icons/hicolor/${size}x${size}/apps/brenavo.png
  [ "$(od -An -tu4 --endian=big -j16 -N8 "$png" | xargs)" = "$size $size" ] || fail "no $size px icon"
done
[ "$(grep -cx -e Exec=brenavo -e Icon=brenavo "$work/share/applications/$app_id.desktop")" = 2 ] ||
  fail "the installed desktop entry does not start brenavo with its icon"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" \
  "$work/share/metainfo/$app_id.metainfo.xml" || fail "the AppStream data launches another entry"

# Up once it has written its settings, it must still run a moment later, and end at SIGTERM.
settings="$work/config/Brenavo/Brenavo 2.0.conf"
mkdir "$work/elsewhere" && mkdir -m 700 "$work/runtime" && cd "$work/elsewhere"
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config" \
  XDG_RUNTIME_DIR="$work/runtime" "$work/bin/brenavo" >"$work/stdout" 2>"$work/stderr" &
pid=$!
for _ in $(seq 300); do [ -f "$settings" ] || ! kill -0 "$pid" 2>/dev/null && break; sleep 0.1; done
sleep 1
kill -TERM "$pid" 2>/dev/null || fail "the installed program ended by itself"
status=0 && wait "$pid" || status=$?; pid=
[ "$status" -eq 143 ] || fail "the installed program did not end at SIGTERM (status $status)"
[ -f "$settings" ] || fail "the installed program wrote no settings on start-up"
[ -z "$(ls -A)" ] || fail "the program left files in the folder it was started from"
# The offscreen platform cannot size a window to its hints and says so; nothing else may be printed.
said=$(cat "$work/stdout"; grep -v '^This plugin does not support propagateSizeHints()$' "$work/stderr" || true)
[ -z "$said" ] || fail "the installed program printed: $said"
[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
