#!/usr/bin/env bash
# The Debian package as a relative or a therapist would install it: lintian
# (no errors) and appstreamcli on it, apt-get install, the program used by an
# ordinary user on a virtual desktop (e2e_paquete.sh), apt-get purge, and
# nothing of the package left outside that user's folder. Installs and removes
# a system package: run as root, on a machine where that is fine (CI).
#   prueba_paquete.sh BUILD_FOLDER    (where scripts/paquete.sh built it)
set -euo pipefail
[ "$(id -u)" = 0 ] || exec sudo bash "$0" "$@"
aqui=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
paquetes=("$build"/paquete/quimbal_*.deb)
[ ${#paquetes[@]} = 1 ] && [ -f "${paquetes[0]}" ] || { echo "FALLO: no hay un solo paquete en $build/paquete" >&2; exit 1; }
deb=${paquetes[0]}
pasadas=0
ok() { echo "ok: $*"; pasadas=$((pasadas + 1)); }
fallar() { echo "FALLO: $*" >&2; exit 1; }
export DEBIAN_FRONTEND=noninteractive
purgar() { if dpkg -s quimbal >/dev/null 2>&1; then apt-get purge -y -q quimbal >/dev/null; fi; }
trap purgar EXIT

lintian --fail-on error --display-info "$deb" || fallar "lintian encontró errores"
ok "lintian sin errores"
contenido=$(mktemp -d)
trap 'purgar; rm -rf "$contenido"' EXIT
dpkg-deb -x "$deb" "$contenido"
appstreamcli validate-tree --no-net "$contenido" || fallar "appstreamcli validate-tree"
desktop-file-validate "$contenido"/usr/share/applications/*.desktop || fallar "entrada del menú"
ok "appstreamcli y desktop-file-validate: metadatos y entrada del menú válidos"

# Whatever of the program the system holds before, to compare after the purge.
restos() {
  find / -xdev \( -path /proc -o -path /sys -o -path /dev -o -path /run -o -path /tmp -o \
    -path /home -o -path /root -o -path /work -o -path "$build" \) -prune -o \
    -iname '*quimbal*' -print 2>/dev/null | sort
}
purgar
antes=$(restos)
(cd "$(dirname "$deb")" && apt-get install -y -q "./$(basename "$deb")") || fallar "apt-get install"
[ -x /usr/bin/quimbal ] && [ -f /usr/share/quimbal/quimbal.hlp ] &&
  [ -f /usr/lib/udev/rules.d/70-quimbal-uinput.rules ] || fallar "faltan archivos"
# The search for what is left sees what the package installs.
restos | grep -qx /usr/share/quimbal/quimbal.hlp || fallar "restos no ve los archivos instalados"
dpkg -L quimbal >"$contenido.lista"
ok "apt-get install del paquete"

QUIMBAL_BUILD=$build "$aqui/../e2e/escritorio.sh" "$aqui/e2e_paquete.sh" | tee "$contenido.e2e" ||
  fallar "prueba del programa instalado"
pasadas=$((pasadas + $(sed -n 's/^\([0-9]*\) passed, 0 failed$/\1/p' "$contenido.e2e")))
rm -f "$contenido.e2e"

apt-get purge -y -q quimbal >/dev/null || fallar "apt-get purge"
! dpkg -s quimbal >/dev/null 2>&1 || fallar "el paquete sigue instalado"
while read -r ruta; do
  # A folder that stays belongs to another package.
  [ ! -e "$ruta" ] || { [ -d "$ruta" ] && dpkg -S "$ruta" >/dev/null 2>&1; } ||
    fallar "tras purgar queda $ruta"
done <"$contenido.lista"
rm -f "$contenido.lista"
[ "$(restos)" = "$antes" ] || fallar "tras purgar quedan: $(comm -13 <(echo "$antes") <(restos))"
ok "apt-get purge no deja nada del paquete"
echo "paquete: $pasadas passed, 0 failed"
