#!/usr/bin/env bash
# USB switch boxes (uinput-made, a game controller and a keyboard type) on a
# real kernel under sway: the checks of caja_invitado.sh in one guest boot.
# Skipped (77) where the guest cannot run.
exec "$(dirname "$0")/invitado.sh" 'bash "$QUIMBAL_VM/caja_invitado.sh"'
