#pragma once
// Ends the program's event loop when the system asks it to stop (SIGINT from Ctrl-C, SIGTERM
// from kill, a logout or a shutdown, SIGHUP from a closed terminal), so that the program ends
// the way its Exit command does: windows closed, the picture index shut, a demo folder without
// pictures removed. Without this the default handlers end the process on the spot.

// Call once, after the QCoreApplication exists. The loop ends with exit code 0, as with Exit. A
// second signal while the program is ending takes the system's default action, so a program
// that hangs on its way out can still be stopped.
void EndEventLoopOnTerminationSignals();
