/* Plays an instrument on a pseudo-terminal for the GUI benchmark.
 *
 * usage: ptywriter (--rate N [--seconds S] | --burst N | --silent S)
 *                  [--idle-ms MS] [--max-wait S]
 *
 * Prints "port <slave path>", then waits for a line "start [PID...]" on
 * standard input, so the reader can open the port first. Then writes
 * measurement lines at a steady rate for a time, or a burst as fast as the
 * reader takes them, or nothing for a time (the reader's cost at rest); the
 * last line, or the only one, is always LAST_LINE. Afterwards it waits
 * until the first PID's CPU time stops growing and prints "key value" lines,
 * among them each PID's CPU time over the run, ending with "done". It keeps
 * the port open until standard input ends, so the reader sees no hang-up
 * while it is being inspected.
 */
#define _GNU_SOURCE
#include "schedstat.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#define LAST_LINE "$ 1234.567 23.456\r\n"
#define MAX_WATCH 4

struct options
{
    double rate; /* lines per second, or 0 */
    double seconds; /* duration of a paced run */
    long burst; /* lines of a burst */
    double silent; /* seconds of nothing before the last line alone */
    int idle_ms; /* quiet time that counts as idle */
    int max_wait_s; /* give up waiting for idle after this */
};

struct watched
{
    int count; /* the reader first, then others (the X server) */
    pid_t pid[MAX_WATCH];
    long long cpu_before[MAX_WATCH];
    long long wait_before; /* the reader's */
};

static void usage(void)
{
    fprintf(stderr,
            "usage: ptywriter (--rate N [--seconds S] | --burst N | --silent S)"
            " [--idle-ms MS] [--max-wait S]\n");
    exit(2);
}

static void parse(int argc, char **argv, struct options *o)
{
    memset(o, 0, sizeof *o);
    o->seconds = 60;
    o->idle_ms = 300;
    o->max_wait_s = 600;
    for (int i = 1; i < argc; ++i) {
        if (i + 1 >= argc)
            usage();
        const char *arg = argv[i], *value = argv[++i];
        if (!strcmp(arg, "--rate"))
            o->rate = atof(value);
        else if (!strcmp(arg, "--seconds"))
            o->seconds = atof(value);
        else if (!strcmp(arg, "--burst"))
            o->burst = atol(value);
        else if (!strcmp(arg, "--silent"))
            o->silent = atof(value);
        else if (!strcmp(arg, "--idle-ms"))
            o->idle_ms = atoi(value);
        else if (!strcmp(arg, "--max-wait"))
            o->max_wait_s = atoi(value);
        else
            usage();
    }
    if ((o->rate > 0) + (o->burst > 0) + (o->silent > 0) != 1)
        usage();
}

/* Values drift like a real probe in water, never reaching LAST_LINE's. */
static int format_line(char *out, long i, long total)
{
    if (i == total - 1)
        return sprintf(out, LAST_LINE);
    const double speed = 1490.0 + (double)(i * 7919 % 20000) / 1000.0;
    const double temp = 10.0 + (double)(i * 104729 % 8000) / 1000.0;
    return sprintf(out, "$ %.3f %.3f\r\n", speed, temp);
}

static int write_all(int fd, const char *bytes, size_t size)
{
    while (size > 0) {
        const ssize_t n = write(fd, bytes, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return -1;
        bytes += n;
        size -= (size_t)n;
    }
    return 0;
}

/* Lines due by now go out together, at most one write a millisecond, as a
 * USB serial adapter hands them over. */
static long write_paced(int fd, const struct options *o, double start, double *max_late)
{
    const long total = (long)(o->rate * o->seconds);
    char buf[64 * 40];
    long written = 0;
    double last_write = 0;
    *max_late = 0;
    while (written < total) {
        const double next_due = start + (double)written / o->rate;
        const double wake = next_due > last_write + 0.001 ? next_due : last_write + 0.001;
        sleep_s(wake - now_s());
        last_write = now_s();
        if (last_write - next_due > *max_late)
            *max_late = last_write - next_due;
        long due = (long)((last_write - start) * o->rate) + 1;
        if (due > total)
            due = total;
        size_t len = 0;
        for (; written < due && len < sizeof buf - 40; ++written)
            len += (size_t)format_line(buf + len, written, total);
        if (write_all(fd, buf, len) != 0)
            return -1;
    }
    return written;
}

static long write_burst(int fd, long total)
{
    char buf[2048 * 40];
    long written = 0;
    while (written < total) {
        size_t len = 0;
        for (; written < total && len < sizeof buf - 40; ++written)
            len += (size_t)format_line(buf + len, written, total);
        if (write_all(fd, buf, len) != 0)
            return -1;
    }
    return written;
}

static int open_pty(int *slave_fd)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
        return -1;
    /* Held open so the reader closing and reopening never hangs the line up. */
    *slave_fd = open(ptsname(master), O_RDWR | O_NOCTTY);
    struct termios t;
    if (*slave_fd < 0 || tcgetattr(*slave_fd, &t) != 0)
        return -1;
    cfmakeraw(&t);
    cfsetspeed(&t, B115200);
    tcsetattr(*slave_fd, TCSANOW, &t);
    return master;
}

/* Reads "start PID..." from standard input; 0 if it ended first. */
static int wait_for_start(struct watched *w)
{
    char line[256];
    memset(w, 0, sizeof *w);
    if (!fgets(line, sizeof line, stdin) || strncmp(line, "start", 5) != 0)
        return 0;
    char *rest = line + 5, *end;
    for (long pid; w->count < MAX_WATCH && (pid = strtol(rest, &end, 10)) > 0; rest = end)
        w->pid[w->count++] = (pid_t)pid;
    for (int i = 0; i < w->count; ++i)
        w->cpu_before[i] = task_cpu_ns(w->pid[i]);
    w->wait_before = w->count ? task_wait_ns(w->pid[0]) : 0;
    return 1;
}

static void report(const struct options *o, const struct watched *w, long lines, double start,
                   double written_at, int slave)
{
    const struct idle_result idle = wait_idle(w->count ? w->pid[0] : 0, o->idle_ms, o->max_wait_s);
    int unread = -1;
    ioctl(slave, FIONREAD, &unread);
    printf("lines %ld\n", lines);
    printf("write_s %.3f\n", written_at - start);
    printf("catchup_s %.3f\n", (idle.last_change > start ? idle.last_change : written_at) - start);
    printf("idle %s\n", idle.reached ? "yes" : "no");
    printf("unread_bytes %d\n", unread);
    for (int i = 0; i < w->count; ++i)
        printf("cpu_ns.%d %lld\n", i, task_cpu_ns(w->pid[i]) - w->cpu_before[i]);
    if (w->count)
        printf("wait_ns %lld\n", task_wait_ns(w->pid[0]) - w->wait_before);
    printf("done\n");
    fflush(stdout);
}

int main(int argc, char **argv)
{
    struct options o;
    parse(argc, argv, &o);

    int slave = -1;
    const int master = open_pty(&slave);
    if (master < 0) {
        perror("ptywriter: pseudo-terminal");
        return 1;
    }
    printf("port %s\n", ptsname(master));
    fflush(stdout);

    struct watched w;
    if (!wait_for_start(&w))
        return 0;
    const double start = now_s();
    double max_late = 0;
    sleep_s(o.silent);
    const long lines = o.rate > 0 ? write_paced(master, &o, start, &max_late)
                                  : write_burst(master, o.burst > 0 ? o.burst : 1);
    const double written_at = now_s();
    if (lines < 0) {
        perror("ptywriter: write");
        return 1;
    }
    printf("written %ld\nmax_late_ms %.1f\n", lines, max_late * 1000);
    fflush(stdout);
    report(&o, &w, lines, start, written_at, slave);

    /* Hold the port until told to let go. */
    char line[64];
    while (fgets(line, sizeof line, stdin)) { }
    return 0;
}
