#pragma once
// The USB switch box on Linux: the kernel's evdev device, read through
// libevdev, held with EVIOCGRAB, found again through udev when plugged back.
#include "platform/CajaUsb.h"

namespace quimbal {

// The input devices with keys or buttons, from the kernel's description of
// each one under `sys` (/sys/class/input), with its node and by-id name
// under `dev` (/dev/input). Nothing is opened.
QList<DispositivoEntrada> DispositivosDeSysfs(const QString& sys, const QString& dev);

} // namespace quimbal
