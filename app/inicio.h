#pragma once
// Start of the program: fonts, the connection registry, the data module and the main
// window, then the event loop until the window closes.

namespace kv {

// Registers the Tahoma-compatible regular face when the system has it; quiet otherwise.
void RegistraFuentes();

// Runs the program; returns the exit status of the event loop.
int EjecutaPrograma(int argc, char** argv);

}  // namespace kv
