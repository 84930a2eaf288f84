#pragma once
// Whether the program has a display to show its windows on, asked before the
// toolkit starts: without one the toolkit aborts with an English message.
#include <QString>

namespace quimbal {

// True when a display answers (or the toolkit was told which one to use);
// otherwise false, with the reason in Spanish.
bool HayPantalla(QString& motivo);

} // namespace quimbal
