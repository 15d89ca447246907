// SIGTERM, SIGINT and SIGHUP end the saver as its own stop does: they set a
// flag and wake the loop through a pipe.
#pragma once

namespace tintwalk {

// Installs the handlers and makes the wake pipe; false when either fails.
bool InstallStopSignals();

// Whether a stop signal came.
bool StopSignalled();

// The end of the wake pipe to wait on, and the emptying of it once woken.
int StopWakeFd();
void DrainStopWake();

}  // namespace tintwalk
