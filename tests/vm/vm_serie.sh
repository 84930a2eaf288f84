#!/usr/bin/env bash
# Switches on the kernel's own serial driver, and an adapter unplugged and
# plugged back: the checks of serie_invitado.sh in one guest boot. Skipped
# (77) where the guest cannot run.
QUIMBAL_VM_SERIE=1 exec "$(dirname "$0")/invitado.sh" 'bash "$QUIMBAL_VM/serie_invitado.sh"'
