# Helpers of the sound tests and benchmark: driving the configuration window
# with the pointer (no keyboard focus needed). Needs comun.sh.

# A left click at a point of the window given in twips from its top left.
clic_en() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  mover_raton $((X + $2 / 15)) $((Y + $3 / 15)) || true
  xdotool click 1
}

# Moves the window clear of the target (top left) and puts the profile into
# sound mode: a click on "Usar Switch..." first, then on "Usar Sonido...", so
# that the second click is a change whichever option the profile showed. Each
# step waits until the window shows its effect.
modo_sonido() {
  mover_ventana "$1" 600 400
  clic_en "$1" $((5160 + 360 + 600)) $((1560 + 240 + 120))
  esperar_modo "$1" switch || true
  clic_en "$1" $((5160 + 360 + 600)) $((1560 + 1800 + 120))
  esperar_modo "$1" sonido || true
}

# Moves a window to X Y (its frame's top left) and waits (up to 3 s) until it
# is there: its client area then lies less than a frame's width right of and
# below that point.
mover_ventana() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  xdotool windowmove "$1" "$2" "$3" || return 0
  for _ in $(seq 30); do
    eval "$(xdotool getwindowgeometry --shell "$1")"
    [ "$X" -ge "$2" ] && [ "$X" -lt $(($2 + 40)) ] && [ "$Y" -ge "$3" ] && [ "$Y" -lt $(($3 + 60)) ] &&
      return 0
    sleep 0.1
  done
}

ventana_visible() { xdotool search --onlyvisible --name '^Quimbal 1.6$' >/dev/null 2>&1; }

# Presses "Aceptar" until the window hides (at most three tries).
aceptar() {
  for _ in 1 2 3; do
    clic_en "$1" $((5400 + 1695 / 2)) $((360 + 810 / 2))
    for _ in $(seq 20); do
      ventana_visible || return 0
      sleep 0.1
    done
  done
  ! ventana_visible
}
