#!/usr/bin/env bash
# On a Wayland desktop with XWayland beside it (weston, nested in the private X server), the
# game started with both WAYLAND_DISPLAY and DISPLAY set, as from a desktop's menu, runs as an
# X11 client: its main window is on the XWayland display, and Ctrl+X through it ends the game.
source "$(dirname "$0")/lib.sh"

start_x
GAME="$WORK/game"
cp -r "$GAME_DIR" "$GAME"

runtime="$WORK/runtime"
mkdir -m 0700 "$runtime"
XDG_RUNTIME_DIR=$runtime weston --backend=x11-backend.so --use-pixman --idle-time=0 --xwayland \
  --socket=vorlix-e2e >"$WORK/weston.log" 2>&1 &
xwayland_named() { xwayland=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$WORK/weston.log"); [ -n "$xwayland" ]; }
wait_for "weston naming its XWayland display in its log" xwayland_named

export DISPLAY=$xwayland WAYLAND_DISPLAY=vorlix-e2e XDG_RUNTIME_DIR=$runtime
unset QT_QPA_PLATFORM
launch_game
quit_game
echo "PASS"
