#!/usr/bin/env bash
# Checks the guest rig itself, in one boot: /dev/uinput opens and makes a
# keyboard; sway starts in the guest and takes that keyboard; a key typed on it
# reaches the target window (build/objetivo) running natively on Wayland.
# Skipped (77) where the guest cannot run, with invitado.sh's reason.
#   QUIMBAL_BUILD=build tests/vm/vm_rig.sh
set -eu
VM=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

if [ "${1:-}" != --invitado ]; then
  QUIMBAL_BUILD=$(cd "${QUIMBAL_BUILD:-$PWD}" && pwd)
  export QUIMBAL_BUILD
  [ -x "$QUIMBAL_BUILD/objetivo" ] || { echo "FALLO: falta $QUIMBAL_BUILD/objetivo" >&2; exit 1; }
  # The uinput keyboard, built on the host into the rig's cache.
  cache=${QUIMBAL_VM_CACHE:-$QUIMBAL_BUILD/vm}
  mkdir -p "$cache"
  if [ ! -x "$cache/teclear_uinput" ] || [ "$VM/teclear_uinput.c" -nt "$cache/teclear_uinput" ]; then
    gcc -O2 -Wall -o "$cache/teclear_uinput" "$VM/teclear_uinput.c"
  fi
  exec "$VM/invitado.sh" "TECLEAR=$(printf %q "$cache/teclear_uinput") bash $(printf %q "$VM/vm_rig.sh") --invitado"
fi

# --- In the guest, as root -----------------------------------------------------
source "$QUIMBAL_SRC/tests/e2e/comun.sh"
bien() { echo "ok: $*"; }

[ -c /dev/uinput ] || fallar "no hay /dev/uinput"
source "$VM/sesion_wayland.sh" || fallar "no arrancó la sesión Wayland"
bien "sway arrancó ($WAYLAND_DISPLAY)"

# The keyboard reads what to type from a pipe kept open on descriptor 3.
mkfifo "$SESION_DIR/teclas"
"$TECLEAR" quimbal-vm-teclado <"$SESION_DIR/teclas" >"$SESION_DIR/teclado.log" 2>&1 &
exec 3>"$SESION_DIR/teclas"
esperar_linea "$SESION_DIR/teclado.log" '^LISTO$' 5 >/dev/null ||
  fallar "/dev/uinput no dio un teclado: $(cat "$SESION_DIR/teclado.log")"
bien "/dev/uinput se abrió y creó un teclado"
esperar_dispositivo quimbal-vm-teclado || fallar "sway no tomó el teclado de uinput"
bien "sway tomó el teclado de uinput"

# The target runs as the session's user, from a copy it can read, and logs
# into a file of its own.
carpeta=$(mktemp -d /tmp/objetivo.XXXXXX)
cp "$QUIMBAL_BUILD/objetivo" "$carpeta/"
registro="$carpeta/registro"
: >"$registro"
chown -R "$SESION_USUARIO:" "$carpeta"
como_usuario "$carpeta/objetivo" "$registro" >"$carpeta/salida.log" 2>&1 &
esperar_app_id objetivo 20 || fallar "no apareció la ventana objetivo: $(cat "$carpeta/salida.log")"
enfocar objetivo || fallar "sway no dio el foco a objetivo"
puntero_sobre objetivo || fallar "no se pudo poner el puntero sobre objetivo"
esperar_linea "$registro" ' FOCUSIN$' 5 >/dev/null || fallar "objetivo no recibió el foco: $(cat "$registro")"

echo a >&3
linea=$(esperar_linea "$registro" ' KEY A ' 5) ||
  fallar "la tecla de uinput no llegó a objetivo: $(cat "$registro")"
bien "objetivo registró la tecla de uinput en Wayland: ${linea#* }"
exec 3>&-
