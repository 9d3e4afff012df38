#ifndef BENCHSUPPORT_H
#define BENCHSUPPORT_H

#include <QByteArray>
#include <QElapsedTimer>

#include <functional>

struct WindowOnPty;

// Resident memory of this process, in MB.
double resident_mb();
// CPU time used by the calling thread, in ms.
double thread_cpu_ms();

// One line as the instrument sends it. Consecutive numbers give different
// speeds, so every line changes the real-time display.
QByteArray measurement_line(int number);

// What the reader did, as seen from outside the window.
struct ReaderCounters
{
    int shown = 0; // valid lines the reader has taken
    int slot_runs = 0;
    double slot_ms = 0.0; // wall time inside ReadMyCom_slot
    qint64 slot_start = 0;
    QElapsedTimer clock;
};

// Opens the fixture's port, and counts into counters every valid line
// taken and the time of every run of the reader slot.
bool open_and_count(WindowOnPty &fixture, ReaderCounters &counters);

// Runs the event loop until done() holds or timeout_ms passes; returns done().
bool run_until(const std::function<bool()> &done, int timeout_ms);

#endif
