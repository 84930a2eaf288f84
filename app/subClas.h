#pragma once
// The main window's procedure for the notification-area icon: it hands every
// message on to the procedure that was in place before, then reacts to
// presses on the icon.
#include "platform/Ventana.h"

namespace quimbal {

// The procedure the window had before EngancharVentana; valid until
// DesengancharVentana.
extern ProcVentana ProcAnteriorBandeja;

void EngancharVentana(HWND hWnd);
void DesengancharVentana(HWND hWnd);
LRESULT ProcVentanaBandeja(HWND hWnd, std::uint32_t uMsg, WPARAM wParam, LPARAM lParam);
// lParam: the mouse message on the icon. A press (left, left double-click,
// right) shows the window in test mode with the focus on Aceptar, unless the
// add-profile prompt or the exit confirmation is open.
void EventoBandeja(WPARAM wParam, LPARAM lParam);

} // namespace quimbal
