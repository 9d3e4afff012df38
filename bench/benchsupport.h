#ifndef BENCHSUPPORT_H
#define BENCHSUPPORT_H

#include <QByteArray>

#include <functional>

class frmain;
class PtyPair;

// Resident memory of this process, in MB.
double resident_mb();
// CPU time used by the calling thread, in ms.
double thread_cpu_ms();

// One line as the instrument sends it. Consecutive numbers give different
// speeds, so every line changes the real-time display.
QByteArray measurement_line(int number);

// Opens the window's port on the slave side of pty, as an operator would:
// the port name typed into the port choice, then the open button's slot
// (which waits its one second). Returns false if the port did not open.
bool open_on_pty(frmain &window, PtyPair &pty);

// Runs the event loop until done() holds or timeout_ms passes; returns done().
bool run_until(const std::function<bool()> &done, int timeout_ms);

#endif
