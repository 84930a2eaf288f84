#!/usr/bin/env bash
# Clicks and keys on a Wayland desktop, on a real kernel: the checks of
# wayland_invitado.sh in one guest boot. Skipped (77) where the guest cannot run.
exec "$(dirname "$0")/invitado.sh" 'bash "$QUIMBAL_VM/wayland_invitado.sh"'
