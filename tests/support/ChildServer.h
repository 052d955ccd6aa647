#pragma once
// What the real servers the tests run as child processes (lighttpd, GStreamer's RTSP server)
// share: a free loopback port for their config, and their end with the test.
#include <QProcess>
#include <memory>

// A port on 127.0.0.1 that nothing listened on a moment ago; 0 when none could be found.
quint16 FreeLoopbackPort();
// Ends the child (terminate, then kill after 5 s) and drops it; nothing when there is none.
void StopChildServer(std::unique_ptr<QProcess>& process);
