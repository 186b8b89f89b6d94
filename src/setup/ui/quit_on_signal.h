#pragma once
// Ends the event loop in an orderly way when the process is asked to stop (SIGTERM, as
// at log-out; SIGHUP; SIGINT), so that the windows are destroyed as on a normal exit and
// the installer's temporary files are removed.
class QObject;

// Call once, after the application object exists.
void QuitEventLoopOnTerminationSignals(QObject* owner);
