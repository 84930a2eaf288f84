#pragma once
// Start-up of the program: the platform services and the first window.

namespace quimbal {

// Installs the real platform backends and shows the first window; returns the
// exit code of the event loop.
int EjecutarPrograma(int argc, char** argv);

} // namespace quimbal
