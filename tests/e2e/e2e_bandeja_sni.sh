#!/usr/bin/env bash
# The tray icon on a desktop whose tray speaks StatusNotifierItem: a private
# session bus with a watcher of our own (build/vigilante). The program's icon
# registers with the watcher; the item's Activate shows the hidden
# configuration window, and so does "Mostrar Quimbal", the first entry of the
# menu the item exports (com.canonical.dbusmenu).
set -eu
source "$(dirname "$0")/comun.sh"
pasados=0
bien() { pasados=$((pasados + 1)); echo "ok: $*"; }

BUS_PID=""
VIGILANTE_PID=""
cerrar_todo() {
  terminar_quimbal
  [ -n "$VIGILANTE_PID" ] && kill "$VIGILANTE_PID" 2>/dev/null
  [ -n "$VIGILANTE_PID" ] && { wait "$VIGILANTE_PID" 2>/dev/null || true; }
  [ -n "$BUS_PID" ] && kill "$BUS_PID" 2>/dev/null
  [ -n "${CARPETA:-}" ] && [ -f "$CARPETA/salida.log" ] && cp "$CARPETA/salida.log" "$QUIMBAL_ARTEFACTOS/bandeja_sni-salida.log" 2>/dev/null
  return 0
}
trap cerrar_todo EXIT
trap 'exit 143' TERM INT HUP

llamar() { gdbus call --session --timeout 5 "$@"; }

preparar_carpeta

# The bus: dbus-daemon prints its address and pid, then goes to the
# background (the command returns once the bus accepts connections).
dbus-daemon --session --fork --print-address=1 --print-pid=1 >"$CARPETA/bus" ||
  fallar "dbus-daemon no arrancó"
BUS_PID=$(sed -n 2p "$CARPETA/bus")
export DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p "$CARPETA/bus")
[ -n "$BUS_PID" ] && [ -n "$DBUS_SESSION_BUS_ADDRESS" ] || fallar "dbus-daemon no dio dirección y pid"

(cd / && exec "$QUIMBAL_BUILD/vigilante" >"$CARPETA/vigilante.log" 2>&1) &
VIGILANTE_PID=$!
esperar_linea "$CARPETA/vigilante.log" '^LISTO$' 10 >/dev/null ||
  fallar "el vigilante no se registró: $(cat "$CARPETA/vigilante.log")"

arrancar_quimbal
wid=$(pasar_inicio) || fallar "no se llegó a la ventana de configuración"

# Aceptar hides the window; the program goes on with its icon.
ocultar() {
  xdotool windowactivate --sync "$1" >/dev/null 2>&1 || true
  xdotool key alt+a
  esperar_sin_ventana "Quimbal 1.6" || fallar "Aceptar no ocultó la ventana ($2)"
  kill -0 "$QUIMBAL_PID" || fallar "el programa terminó al ocultar la ventana ($2)"
}
ocultar "$wid" "al principio"

linea=$(esperar_linea "$CARPETA/vigilante.log" '^ITEM ' 10) ||
  fallar "el icono no se registró en el vigilante: $(cat "$CARPETA/vigilante.log")"
read -r _ servicio ruta <<<"$linea"
[ "$(grep -c '^ITEM ' "$CARPETA/vigilante.log")" = 1 ] || fallar "más de un icono registrado"
llamar --dest "$servicio" --object-path "$ruta" --method org.freedesktop.DBus.Properties.Get \
  org.kde.StatusNotifierItem Id >/dev/null || fallar "el elemento registrado no responde en $servicio $ruta"
bien "el icono se registró en el vigilante ($servicio $ruta)"

# Activate: the press on the icon.
llamar --dest "$servicio" --object-path "$ruta" --method org.kde.StatusNotifierItem.Activate 10 10 \
  >/dev/null || fallar "Activate falló"
wid=$(esperar_ventana "Quimbal 1.6" 50) || fallar "Activate no mostró la ventana"
captura bandeja-sni-activate
bien "Activate muestra la ventana"

ocultar "$wid" "tras Activate"

# The exported menu: its first entry is "Mostrar Quimbal"; "clicked" on it.
menu=$(llamar --dest "$servicio" --object-path "$ruta" --method org.freedesktop.DBus.Properties.Get \
  org.kde.StatusNotifierItem Menu) || fallar "el elemento no tiene propiedad Menu"
menu=$(sed -n "s/.*objectpath '\([^']*\)'.*/\1/p" <<<"$menu")
[ -n "$menu" ] && [ "$menu" != / ] || fallar "el elemento no exporta menú"
llamar --dest "$servicio" --object-path "$menu" --method com.canonical.dbusmenu.GetLayout -- 0 -1 '@as []' \
  >"$CARPETA/menu.txt" || fallar "GetLayout falló en $menu"
cp "$CARPETA/menu.txt" "$QUIMBAL_ARTEFACTOS/bandeja_sni-menu.txt" 2>/dev/null || true
# The root's children list opens with "[<(": its first child is
# "(<id>, {<properties>}, ...".
primero=$(grep -oE "\[<\([0-9]+, \{[^{}]*\}" "$CARPETA/menu.txt" | head -n1)
id=$(sed -nE 's/^\[<\(([0-9]+),.*/\1/p' <<<"$primero")
[ -n "$id" ] || fallar "el menú no tiene entradas: $(cat "$CARPETA/menu.txt")"
grep -q "'label': <'Mostrar Quimbal'>" <<<"$primero" ||
  fallar "la primera entrada del menú no es Mostrar Quimbal: $primero"
bien "la primera entrada del menú es Mostrar Quimbal (id $id)"

llamar --dest "$servicio" --object-path "$menu" --method com.canonical.dbusmenu.Event \
  "$id" "'clicked'" '<0>' 0 >/dev/null || fallar "Event clicked falló"
wid=$(esperar_ventana "Quimbal 1.6" 50) || fallar "Mostrar Quimbal no mostró la ventana"
captura bandeja-sni-menu
bien "Mostrar Quimbal muestra la ventana"

salir_con_si "$wid"
[ "$SALIDA" = 0 ] || fallar "el programa terminó con código $SALIDA"
bien "Sí termina el programa"

echo "$pasados passed, 0 failed"
