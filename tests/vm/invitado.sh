#!/usr/bin/env bash
# Runs one shell command as root inside a throw-away QEMU guest that boots
# Debian's own kernel, so that a test meets a real kernel: /dev/uinput, evdev,
# the 8250 serial driver. The guest sees this machine's root file system
# read-only over 9p, under a tmpfs overlay (what it writes is lost at power
# off), so every program and path of the host is there under the same name.
#   invitado.sh 'shell command' [extra qemu args...]
# Prints the command's standard output and error, and exits with its exit
# code. Exits 77 (a skipped test) with one line on stderr saying why when the
# guest cannot run here: no QEMU, no kernel or modules, or a guest that did
# not boot. A command that does not end in time is a failure (exit 124).
#
# The command runs under bash, in the caller's working folder, with
# QUIMBAL_BUILD, QUIMBAL_SRC and QUIMBAL_VM (this folder) set.
# Environment:
#   QUIMBAL_BUILD          build folder (default: the working folder)
#   QUIMBAL_VM_CACHE       kernel, initramfs and job folders
#                          (default: $QUIMBAL_BUILD/vm)
#   QUIMBAL_VM_TIEMPO      seconds the whole run may take (default 240)
#   QUIMBAL_VM_TIEMPO_EXTRA seconds added to that (slow machines, sanitizers)
#   QUIMBAL_VM_PRECARGA    a library preloaded into QEMU only (LD_PRELOAD)
#   QUIMBAL_VM_ACEL        accelerator arguments
#                          (default: -accel tcg,thread=multi -cpu max)
#   QUIMBAL_VM_MEMORIA     MiB of guest memory (default 1024)
#   QUIMBAL_VM_CPUS        guest processors (default 2)
#   QUIMBAL_VM_CONSERVAR=1 keeps the job folder (console log, outputs)
#   QUIMBAL_VM_SERIE=1     a 16550 as /dev/ttyS1 and a USB serial adapter to
#                          plug in, both with scripted modem lines (see below)
set -u
[ $# -ge 1 ] || { echo "uso: invitado.sh 'orden' [argumentos de qemu...]" >&2; exit 2; }
orden="$1"; shift

VM=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
QUIMBAL_BUILD=$(cd "${QUIMBAL_BUILD:-$PWD}" && pwd)
QUIMBAL_SRC=${QUIMBAL_SRC:-$(cd "$VM/../.." && pwd)}
CACHE=${QUIMBAL_VM_CACHE:-$QUIMBAL_BUILD/vm}

omitir() { echo "invitado: $*" >&2; exit 77; }

command -v qemu-system-x86_64 >/dev/null ||
  omitir "no se puede arrancar el invitado: falta qemu-system-x86_64 (paquete qemu-system-x86)"
# The kernel finds the guest's first script through its command line, which
# splits at spaces.
case "$VM" in *[[:space:]]*) omitir "no se puede arrancar el invitado: la ruta $VM tiene espacios" ;; esac
mkdir -p "$CACHE" || omitir "no se puede crear la carpeta $CACHE"

# --- Kernel and initramfs, built once into the cache -------------------------
# The kernel comes from Debian's package: the one installed in /boot when
# there is one, else the package of the current version fetched with
# apt-get download and unpacked in the cache (no update-initramfs, no root).
# QEMU boots the uncompressed vmlinux: decompressing vmlinuz inside the guest
# without acceleration takes minutes.

# Fetches the kernel package and keeps in $CACHE/paquete only what the guest
# needs of it (its vmlinuz, module lists and the modules the initramfs
# loads: a few MB of its 400).
descargar_nucleo() {
  local paquete tmp kver m
  command -v apt-get >/dev/null && command -v dpkg-deb >/dev/null && command -v depmod >/dev/null ||
    return 1
  paquete=$(apt-cache depends linux-image-amd64 2>/dev/null |
    sed -n 's/^ *Depends: \(linux-image-[0-9][^ ]*\)$/\1/p' | head -n1)
  [ -n "$paquete" ] || return 1
  tmp=$(mktemp -d "$CACHE/descarga.XXXXXX") || return 1
  if (cd "$tmp" && apt-get download -q "$paquete" >/dev/null 2>&1) &&
    dpkg-deb -x "$tmp/$paquete"_*.deb "$tmp/raiz"; then
    kver=$(find "$tmp/raiz/boot" -name 'vmlinuz-*' -printf '%f\n' | head -n1)
    kver=${kver#vmlinuz-}
    # The package leaves the module lists to depmod, at installation.
    depmod -b "$tmp/raiz" "$kver" 2>/dev/null
    mkdir -p "$tmp/poda/boot" "$tmp/poda/lib/modules/$kver"
    cp "$tmp/raiz/boot/vmlinuz-$kver" "$tmp/poda/boot/"
    cp "$tmp/raiz/lib/modules/$kver"/modules.{dep,builtin} "$tmp/poda/lib/modules/$kver/"
    for m in $(modulos_en_orden "$tmp/raiz/lib/modules/$kver" 2>/dev/null); do
      mkdir -p "$tmp/poda/lib/modules/$kver/$(dirname "$m")"
      cp "$tmp/raiz/lib/modules/$kver/$m" "$tmp/poda/lib/modules/$kver/$m"
    done
    rm -rf "$CACHE/paquete"
    mv "$tmp/poda" "$CACHE/paquete"
  fi
  rm -rf "$tmp"
  [ -d "$CACHE/paquete/boot" ]
}

# Sets RAIZ (where boot/vmlinuz-* and lib/modules/* are) and KVER.
buscar_nucleo() {
  local raiz v
  for raiz in "" "$CACHE/paquete"; do
    for v in "$raiz"/boot/vmlinuz-*; do
      [ -f "$v" ] || continue
      KVER=${v##*/vmlinuz-}
      [ -f "$raiz/lib/modules/$KVER/modules.dep" ] || continue
      RAIZ=$raiz
      return 0
    done
  done
  return 1
}

# Writes the uncompressed kernel in vmlinuz to $2 (an ELF QEMU boots
# directly); fails when the payload is not xz.
extraer_vmlinux() {
  python3 - "$1" "$2" <<'EOF'
import lzma, sys
datos = open(sys.argv[1], 'rb').read()
inicio = datos.find(b'\xfd7zXZ\x00')
if inicio < 0:
    sys.exit(1)
elf = lzma.LZMADecompressor().decompress(datos[inicio:])
if not elf.startswith(b'\x7fELF'):
    sys.exit(1)
open(sys.argv[2], 'wb').write(elf)
EOF
}

# The modules the guest loads: those that mount the root (virtio, 9p,
# overlay), the input devices (uinput, evdev), and a USB host controller with
# the driver of QEMU's USB serial adapter (an FTDI).
MODULOS="virtio_pci 9pnet_virtio 9p overlay uinput evdev xhci-pci ftdi_sio"
# Their files, in load order: each module after those it depends on
# (modules.dep lists them nearest first). A module built into the kernel needs
# no file.
modulos_en_orden() {
  local dir="$1" m linea dep hechos=" "
  for m in $MODULOS; do
    linea=$(grep -E "/$m\.ko(\.[a-z]+)?:" "$dir/modules.dep") || {
      grep -qE "/$m\.ko" "$dir/modules.builtin" 2>/dev/null && continue
      echo "falta el módulo $m" >&2; return 1
    }
    for dep in $(echo "${linea#*:}" | tr ' ' '\n' | tac) "${linea%%:*}"; do
      case "$hechos" in *" $dep "*) continue ;; esac
      hechos="$hechos$dep "
      echo "$dep"
    done
  done
}

# Whether the module folder $1 has the file of every module the guest loads.
modulos_presentes() {
  local m lista
  lista=$(modulos_en_orden "$1" 2>/dev/null) || return 1
  for m in $lista; do
    [ -f "$1/$m" ] || return 1
  done
}

# Builds the initramfs into $1: static busybox, the modules and the first
# script (arranque_initramfs.sh as /init).
construir_initramfs() {
  local salida="$1" dir m nombre
  dir=$(mktemp -d "$CACHE/initramfs.XXXXXX") || return 1
  mkdir -p "$dir"/{bin,mods,proc,sys,dev,host,rw,newroot}
  if ! cp /bin/busybox "$dir/bin/busybox" || ! install -m 755 "$VM/arranque_initramfs.sh" "$dir/init"; then
    rm -rf "$dir"; return 1
  fi
  modulos_en_orden "$RAIZ/lib/modules/$KVER" >"$dir/lista" || { rm -rf "$dir"; return 1; }
  while read -r m; do
    nombre=$(basename "$m"); nombre=${nombre%%.ko*}
    case "$m" in
    *.ko) cp "$RAIZ/lib/modules/$KVER/$m" "$dir/mods/$nombre.ko" ;;
    *.ko.xz) xz -dc "$RAIZ/lib/modules/$KVER/$m" >"$dir/mods/$nombre.ko" ;;
    *.ko.zst) zstd -qdc "$RAIZ/lib/modules/$KVER/$m" >"$dir/mods/$nombre.ko" ;;
    *) false ;;
    esac || { rm -rf "$dir"; return 1; }
    echo "$nombre" >>"$dir/mods/orden"
  done <"$dir/lista"
  rm "$dir/lista"
  (cd "$dir" && find . | cpio -o -H newc --quiet | gzip -1) >"$salida.tmp" &&
    mv "$salida.tmp" "$salida"
  local rc=$?
  rm -rf "$dir"
  return $rc
}

# Sets NUCLEO and INITRD, building what the cache lacks. Under a lock: two
# runs at once build it once.
preparar() {
  # A kernel fetched for a shorter list of modules is fetched again.
  if buscar_nucleo && [ "$RAIZ" = "$CACHE/paquete" ] &&
    ! modulos_presentes "$RAIZ/lib/modules/$KVER"; then
    rm -rf "$CACHE/paquete"
  fi
  if ! buscar_nucleo; then
    if ! descargar_nucleo || ! buscar_nucleo; then
      echo "no hay núcleo de Debian (ni /boot/vmlinuz-* con sus módulos, ni paquete linux-image descargable)"
      return 1
    fi
  fi
  ldd /bin/busybox 2>&1 | grep -q 'not a dynamic' ||
    { echo "/bin/busybox no es estático (paquete busybox-static)"; return 1; }
  NUCLEO="$CACHE/vmlinux-$KVER"
  if [ ! -f "$NUCLEO" ]; then
    if extraer_vmlinux "$RAIZ/boot/vmlinuz-$KVER" "$NUCLEO.tmp"; then
      mv "$NUCLEO.tmp" "$NUCLEO"
    else
      # Not xz: the compressed image boots too, only more slowly.
      rm -f "$NUCLEO.tmp"
      NUCLEO="$RAIZ/boot/vmlinuz-$KVER"
    fi
  fi
  # Named after what goes into it, so that a new kernel or first script
  # makes a new one.
  INITRD="$CACHE/initramfs-$KVER-$( (cat /bin/busybox "$VM/arranque_initramfs.sh"; echo "$MODULOS") | md5sum | cut -c1-12).cpio.gz"
  local error
  [ -f "$INITRD" ] || error=$(construir_initramfs "$INITRD" 2>&1 >/dev/null) ||
    { echo "no se pudo construir el initramfs de $KVER: ${error//$'\n'/ }"; return 1; }
}
# On success two lines, the kernel and the initramfs; else the reason.
preparado=$(
  exec 9>"$CACHE/.cerrojo"
  flock 9
  preparar || exit 1
  echo "$NUCLEO"; echo "$INITRD"
) || omitir "no se puede arrancar el invitado: $preparado"
NUCLEO=$(sed -n 1p <<<"$preparado")
INITRD=$(sed -n 2p <<<"$preparado")

# --- One run ---------------------------------------------------------------
# The job folder is the guest's /mnt/out (9p, writable): the command goes in,
# its outputs and exit code come back. The guest notes on its console
# (ttyS0, a file here) when it is up and when the command has ended.
mkdir -p "$CACHE/trabajos"
TRABAJO=$(mktemp -d "$CACHE/trabajos/XXXXXX")
{
  printf 'export QUIMBAL_BUILD=%q QUIMBAL_SRC=%q QUIMBAL_VM=%q\n' "$QUIMBAL_BUILD" "$QUIMBAL_SRC" "$VM"
  printf 'cd %q 2>/dev/null || cd /\n' "$PWD"
  printf '%s\n' "$orden"
} >"$TRABAJO/orden"

# QUIMBAL_VM_SERIE=1: the guest's second serial port (/dev/ttyS1, a 16550
# under the guest's own 8250 driver) stands on the test serial port library
# (tests/puerto/puerto_falso.c) loaded into QEMU: QEMU reads the modem lines
# of its host side from a state file, which the guest writes as
# /mnt/out/com2.estado ("cts=1", "dsr=1", one per line); what the guest's
# driver sets (rts, dtr) is in /mnt/out/com2.lineas. Taps shorter than a
# guest can time are made here on request (toques.py).
# QEMU's USB serial adapter (an FTDI, /dev/ttyUSB0 under ftdi_sio) stands on
# the same library the same way (/mnt/out/com4.estado); it is not plugged in
# at boot: the guest plugs it in and pulls it out on request (toques.py,
# through QEMU's monitor).
precarga=${QUIMBAL_VM_PRECARGA:-}
serie=()
if [ "${QUIMBAL_VM_SERIE:-}" = 1 ]; then
  [ -f "$QUIMBAL_BUILD/puerto_falso.so" ] || { echo "invitado: falta $QUIMBAL_BUILD/puerto_falso.so" >&2; exit 1; }
  precarga="$QUIMBAL_BUILD/puerto_falso.so${precarga:+:$precarga}"
  : >"$TRABAJO/com2.estado"
  : >"$TRABAJO/com4.estado"
  # A socket's path is short: not in the job folder.
  monitor=$(mktemp -d /tmp/quimbal-qmp.XXXXXX)
  serie=(-chardev "serial,id=com2,path=$TRABAJO/com2" -device isa-serial,chardev=com2,index=1
    -chardev "serial,id=com4,path=$TRABAJO/com4" -device qemu-xhci,id=xhci
    -qmp "unix:$monitor/qmp,server=on,wait=off")
  python3 "$VM/toques.py" "$TRABAJO" "$monitor/qmp" &
  pid_toques=$!
fi

tiempo=$(( ${QUIMBAL_VM_TIEMPO:-240} + ${QUIMBAL_VM_TIEMPO_EXTRA:-0} ))
# shellcheck disable=SC2086 # QUIMBAL_VM_ACEL is a list of arguments
timeout -k 5 "$tiempo" env ${precarga:+LD_PRELOAD="$precarga"} \
  ${serie[0]:+QUIMBAL_PUERTO_FALSO="$TRABAJO/com2:$TRABAJO/com4"} \
  qemu-system-x86_64 ${QUIMBAL_VM_ACEL:--accel tcg,thread=multi -cpu max} \
  -m "${QUIMBAL_VM_MEMORIA:-1024}" -smp "${QUIMBAL_VM_CPUS:-2}" \
  -nographic -no-reboot -nodefaults -serial "file:$TRABAJO/consola.log" \
  -kernel "$NUCLEO" -initrd "$INITRD" \
  -append "console=ttyS0 quiet panic=-1 rdinit=/init quimbal_vm=$VM" \
  -virtfs local,path=/,mount_tag=raiz,security_model=none,readonly=on,multidevs=remap \
  -virtfs "local,path=$TRABAJO,mount_tag=salida,security_model=none,multidevs=remap" \
  "${serie[@]}" "$@" >"$TRABAJO/qemu.log" 2>&1 &
pid_qemu=$!
# timeout leads a process group of its own: a signal to this script's group
# (CTest's time-out, Ctrl-C) would miss QEMU. It is passed on.
interrumpido=""
trap 'interrumpido=1; kill -TERM "$pid_qemu" 2>/dev/null' TERM INT HUP
wait "$pid_qemu"
rc_qemu=$?
[ -n "${pid_toques:-}" ] && { kill "$pid_toques" 2>/dev/null; rm -rf "$monitor"; }
if [ -n "$interrumpido" ]; then
  wait "$pid_qemu"
  [ "${QUIMBAL_VM_CONSERVAR:-}" = 1 ] || rm -rf "$TRABAJO"
  echo "invitado: interrumpido" >&2
  exit 143
fi

cat "$TRABAJO/stdout" 2>/dev/null
cat "$TRABAJO/stderr" >&2 2>/dev/null
rc=$(cat "$TRABAJO/rc" 2>/dev/null)
if [ -n "$rc" ]; then
  :
elif grep -aq 'QUIMBAL-VM-LISTO' "$TRABAJO/consola.log" 2>/dev/null; then
  if [ "$rc_qemu" = 124 ] || [ "$rc_qemu" = 137 ]; then
    echo "invitado: la orden no terminó en $tiempo s (QUIMBAL_VM_TIEMPO_EXTRA da más)" >&2
  else
    echo "invitado: el invitado se apagó sin terminar la orden: $(grep -av 'QUIMBAL-VM' "$TRABAJO/consola.log" | tail -n1)" >&2
  fi
  rc=124
elif [ "$rc_qemu" = 124 ] || [ "$rc_qemu" = 137 ]; then
  echo "invitado: el invitado no arrancó en $tiempo s" >&2
  rc=77
else
  # The initramfs' own complaint, else QEMU's, else the guest's last words on
  # its console.
  ultima=$(grep -ao 'QUIMBAL-VM-FALLO.*' "$TRABAJO/consola.log" 2>/dev/null | head -n1)
  ultima=${ultima#QUIMBAL-VM-FALLO }
  [ -n "$ultima" ] || ultima=$(grep -av '^\s*$' "$TRABAJO/qemu.log" 2>/dev/null | tail -n1)
  [ -n "$ultima" ] || ultima=$(grep -av '^\s*$' "$TRABAJO/consola.log" 2>/dev/null | tail -n1)
  echo "invitado: el invitado no arrancó: ${ultima:-sin mensajes}" >&2
  rc=77
fi
if [ "${QUIMBAL_VM_CONSERVAR:-}" = 1 ]; then
  echo "invitado: carpeta del trabajo $TRABAJO" >&2
else
  rm -rf "$TRABAJO"
fi
exit "$rc"
