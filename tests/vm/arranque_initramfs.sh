#!/bin/busybox sh
# First process of the guest, in its initramfs (static busybox and a few
# modules): loads the modules, mounts the host's root (9p, read-only) under a
# tmpfs overlay, and hands over to arranque_invitado.sh in that root. The
# host's folder of that script comes on the kernel command line
# (quimbal_vm=...).
/bin/busybox --install -s /bin
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
vm=$(sed -n 's/.*quimbal_vm=\([^ ]*\).*/\1/p' /proc/cmdline)
# Written on the console, which the host reads when the guest does not boot.
fallo() { echo "QUIMBAL-VM-FALLO $*" >/dev/console; poweroff -f; }

while read -r m; do
  insmod "/mods/$m.ko" || fallo "insmod $m"
done </mods/orden
mount -t 9p -o trans=virtio,version=9p2000.L,ro,msize=512000,cache=loose raiz /host ||
  fallo "no se montó la raíz 9p"
mount -t tmpfs -o size=2g,mode=755 tmpfs /rw
mkdir -p /rw/upper /rw/work
mount -t overlay overlay -o lowerdir=/host,upperdir=/rw/upper,workdir=/rw/work /newroot ||
  fallo "no se montó la capa overlay"
mkdir -p /newroot/mnt/out
mount -t 9p -o trans=virtio,version=9p2000.L,msize=512000 salida /newroot/mnt/out ||
  fallo "no se montó la carpeta del trabajo"
mount --move /proc /newroot/proc
mount --move /sys /newroot/sys
mount --move /dev /newroot/dev
exec switch_root /newroot /bin/sh "$vm/arranque_invitado.sh"
