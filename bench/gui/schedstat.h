/* CPU time of a process from the scheduler's own accounting, and waiting
 * for a process to go quiet. */
#ifndef SCHEDSTAT_H
#define SCHEDSTAT_H

#include <sys/types.h>

struct idle_result
{
    int reached; /* went quiet before the time limit */
    double last_change; /* now_s() when its CPU time last grew */
};

double now_s(void);
void sleep_s(double seconds);

/* Nanoseconds on CPU summed over all threads of pid; -1 if it is gone. */
long long task_cpu_ns(pid_t pid);

/* Nanoseconds its threads were ready to run but waited for a CPU: what
 * other load on the machine added to its wall-clock times. */
long long task_wait_ns(pid_t pid);

/* Polls pid every few milliseconds until its CPU time has not grown by
 * work for quiet_ms, or max_wait_s has passed. A periodic timer's tick (under
 * half a millisecond in a poll) is not work: a program with a 250 ms timer
 * would otherwise never look idle. */
struct idle_result wait_idle(pid_t pid, int quiet_ms, int max_wait_s);

#endif
