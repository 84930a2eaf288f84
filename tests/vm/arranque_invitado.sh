#!/bin/sh
# Process 1 of the guest once its root is the host's (see invitado.sh): runs
# the command of the job folder (/mnt/out/orden) with bash, keeps its outputs
# and exit code there, and powers off. The console lines QUIMBAL-VM-LISTO and
# QUIMBAL-VM-FIN tell the host that the guest came up and that the command
# ended.
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root TERM=dumb LANG=C.UTF-8
mount -t tmpfs tmpfs /run
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs tmpfs /dev/shm
# /tmp stays on the overlay: the host's files under /tmp are seen.
# The console may hold the firmware's text without a line end.
printf '\nQUIMBAL-VM-LISTO %s\n' "$(cut -d' ' -f1 /proc/uptime)" >/dev/ttyS0
bash /mnt/out/orden >/mnt/out/stdout 2>/mnt/out/stderr </dev/null
rc=$?
echo "$rc" >/mnt/out/rc
sync
echo "QUIMBAL-VM-FIN rc=$rc $(cut -d' ' -f1 /proc/uptime)" >/dev/ttyS0
/bin/busybox poweroff -f
