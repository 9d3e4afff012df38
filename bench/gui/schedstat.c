#define _GNU_SOURCE
#include "schedstat.h"

#include <dirent.h>
#include <stdio.h>
#include <time.h>

double now_s(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

void sleep_s(double seconds)
{
    if (seconds <= 0)
        return;
    struct timespec t = {(time_t)seconds, (long)((seconds - (double)(time_t)seconds) * 1e9)};
    while (nanosleep(&t, &t) != 0) { }
}

/* Sums one field of /proc/pid/task/N/schedstat: 0 on CPU, 1 waiting. */
static long long sum_schedstat(pid_t pid, int field)
{
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/task", (int)pid);
    DIR *dir = opendir(path);
    if (!dir)
        return -1;
    long long sum = 0;
    struct dirent *entry;
    while ((entry = readdir(dir)) != NULL) {
        if (entry->d_name[0] == '.')
            continue;
        char file[320];
        snprintf(file, sizeof file, "/proc/%d/task/%s/schedstat", (int)pid, entry->d_name);
        FILE *f = fopen(file, "r");
        long long ns[2] = {0, 0};
        /* A thread that ended between the listing and here adds nothing. */
        if (f && fscanf(f, "%lld %lld", &ns[0], &ns[1]) == 2)
            sum += ns[field];
        if (f)
            fclose(f);
    }
    closedir(dir);
    return sum;
}

long long task_cpu_ns(pid_t pid)
{
    return sum_schedstat(pid, 0);
}

long long task_wait_ns(pid_t pid)
{
    return sum_schedstat(pid, 1);
}

struct idle_result wait_idle(pid_t pid, int quiet_ms, int max_wait_s)
{
    struct idle_result result = {0, now_s()};
    if (pid <= 0)
        return result;
    const double give_up = result.last_change + max_wait_s;
    long long last = task_cpu_ns(pid);
    for (;;) {
        sleep_s(0.005);
        const double now = now_s();
        const long long cpu = task_cpu_ns(pid);
        /* Working, not a timer's tick: a tenth of the poll or more. */
        if (cpu - last >= 500000) {
            last = cpu;
            result.last_change = now;
        } else if (cpu != last) {
            last = cpu;
        } else if (now - result.last_change >= quiet_ms / 1000.0) {
            result.reached = 1;
            return result;
        }
        if (cpu < 0 || now > give_up)
            return result;
    }
}
