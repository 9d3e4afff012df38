/* Plays an instrument on a pseudo-terminal and receives what the program
 * forwards, for the output benchmark.
 *
 * usage: outprobe [--rate N] [--seconds S] [--pattern] [--listen] [--udp]
 *                 [--serial] [--tcp PORT] [--mqtt PORT --topic T] [--warmup N]
 *        outprobe --free-port
 *
 * Prints "input PATH" (the port for the program to read), "udp PORT" and
 * "serial PATH" (where the program is to send) and "waiting", then waits for
 * "start PID" on standard input. Then connects to the program's TCP server and the MQTT
 * broker, prints "ready", writes lines at a steady rate, one write a line, and takes each
 * sentence as it arrives. --pattern mixes in spikes, out-of-range readings,
 * malformed lines and junk lines at known places; --listen writes nothing
 * (another instrument does) and counts until "stop" on standard input.
 * Ends with "key value" lines and "done", then holds its ports until
 * standard input ends.
 */
#define _GNU_SOURCE
#include "outsinks.h"
#include "schedstat.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <termios.h>
#include <unistd.h>

enum line_kind { good, spike, range, malformed, junk };

struct options
{
    double rate, seconds;
    int pattern, listen, warmup, udp, serial, tcp_port, mqtt_port;
    const char *topic;
};

static struct options opt = {.rate = 30, .seconds = 10, .warmup = 10};
static double written_at[MAX_LINES];

/* Spikes and out-of-range readings stay few enough that the median of the
 * readings before each one is always a good reading's; the first twenty
 * lines are good so the check has its history. */
static int kind_of(long i)
{
    if (!opt.pattern || i < 20)
        return good;
    if (i % 10 == 5)
        return spike;
    if (i % 17 == 8)
        return range;
    if (i % 13 == 3)
        return malformed;
    return i % 23 == 11 ? junk : good;
}

static int is_expected(long i)
{
    return kind_of(i) == good;
}

static int format_line(char *out, long i)
{
    const double speed = BASE_SPEED + (double)i / 1000.0;
    const double temp = 10.0 + (double)(i % 1000) / 1000.0;
    switch (kind_of(i)) {
    case spike:
        return sprintf(out, "$ %.3f %.3f\r\n", speed + 30.0, temp);
    case range:
        return sprintf(out, "$ %.3f %.3f\r\n", speed + 200.0, temp);
    case malformed:
        return sprintf(out, "$ %.3f %.3f 35.000\r\n", speed, temp);
    case junk:
        return sprintf(out, "#%ld;no reading here\r\n", i);
    default:
        return sprintf(out, "$ %.3f %.3f\r\n", speed, temp);
    }
}

static void parse(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const char *a = argv[i], *v = i + 1 < argc ? argv[i + 1] : "";
        if (!strcmp(a, "--free-port"))
            printf("%d\n", free_tcp_port()), exit(0);
        else if (!strcmp(a, "--pattern"))
            opt.pattern = 1;
        else if (!strcmp(a, "--listen"))
            opt.listen = 1;
        else if (!strcmp(a, "--udp"))
            opt.udp = 1;
        else if (!strcmp(a, "--serial"))
            opt.serial = 1;
        else if (!strcmp(a, "--rate") && ++i)
            opt.rate = atof(v);
        else if (!strcmp(a, "--seconds") && ++i)
            opt.seconds = atof(v);
        else if (!strcmp(a, "--warmup") && ++i)
            opt.warmup = atoi(v);
        else if (!strcmp(a, "--tcp") && ++i)
            opt.tcp_port = atoi(v);
        else if (!strcmp(a, "--mqtt") && ++i)
            opt.mqtt_port = atoi(v);
        else if (!strcmp(a, "--topic") && ++i)
            opt.topic = v;
        else
            fprintf(stderr, "outprobe: see the usage at the top of outprobe.c\n"), exit(2);
    }
}

static int open_input(char *path, int size)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
        return -1;
    snprintf(path, (size_t)size, "%s", ptsname(master));
    const int slave = open(path, O_RDWR | O_NOCTTY); /* kept: no hang-up */
    struct termios t;
    if (slave < 0 || tcgetattr(slave, &t) != 0)
        return -1;
    cfmakeraw(&t);
    cfsetspeed(&t, B115200);
    tcsetattr(slave, TCSANOW, &t);
    return master;
}

/* Takes sentences until deadline; with listen, standard input saying "stop"
 * ends it early (returns 1). */
static int receive_until(struct sink *sinks, double deadline, int listen)
{
    struct pollfd fds[sink_count + 1];
    int kinds[sink_count + 1];
    const int n = sink_pollfds(sinks, fds, kinds);
    fds[n] = (struct pollfd){.fd = listen ? 0 : -1, .events = POLLIN};
    for (double now = now_s(); now < deadline; now = now_s()) {
        const double left = deadline - now;
        const struct timespec t = {(time_t)left, (long)((left - (double)(time_t)left) * 1e9)};
        if (ppoll(fds, (nfds_t)n + 1, &t, NULL) <= 0)
            continue;
        for (int i = 0; i < n; ++i)
            if (fds[i].revents && sink_read(&sinks[kinds[i]], kinds[i]) < 0)
                fds[i].fd = -1;
        if (fds[n].revents)
            return 1;
    }
    return 0;
}

static long write_lines(int input, struct sink *sinks)
{
    const long total = (long)(opt.rate * opt.seconds);
    const double start = now_s();
    char line[80];
    for (long i = 0; i < total && i < MAX_LINES; ++i) {
        receive_until(sinks, start + (double)i / opt.rate, 0);
        const int len = format_line(line, i);
        if (write(input, line, (size_t)len) != len)
            return -1;
        written_at[i] = now_s();
    }
    return total < MAX_LINES ? total : MAX_LINES;
}

/* Until nothing has arrived for half a second, at most ten. */
static void drain(struct sink *sinks)
{
    const double give_up = now_s() + 10;
    long before = -1;
    while (before != sink_total(sinks) && now_s() < give_up) {
        before = sink_total(sinks);
        receive_until(sinks, now_s() + 0.5, 0);
    }
}

static int by_value(const void *a, const void *b)
{
    const double x = *(const double *)a, y = *(const double *)b;
    return (x > y) - (x < y);
}

static void report_sink(int kind, const struct sink *s, long lines)
{
    const char *name = sink_name(kind);
    printf("%s.received %ld\n%s.unexpected %ld\n", name, s->received, name, s->unexpected);
    if (opt.listen)
        return;
    static double ms[MAX_LINES];
    long n = 0, want = 0;
    for (long i = 0; i < lines; ++i) {
        want += is_expected(i);
        if (i >= opt.warmup && is_expected(i) && s->arrived_at[i] > 0)
            ms[n++] = (s->arrived_at[i] - written_at[i]) * 1000.0;
    }
    printf("%s.lost %ld\n", name, want - s->matched);
    if (n == 0)
        return;
    qsort(ms, (size_t)n, sizeof ms[0], by_value);
    printf("%s.p50_ms %.3f\n%s.p99_ms %.3f\n%s.max_ms %.3f\n", name, ms[(n - 1) / 2], name,
           ms[(long)((double)(n - 1) * 0.99)], name, ms[n - 1]);
}

static void report(struct sink *sinks, long lines, pid_t pid, long long cpu_before)
{
    long count[5] = {0};
    for (long i = 0; i < lines; ++i)
        ++count[kind_of(i)];
    printf("lines %ld\nexpect_forwarded %ld\nexpect_gated %ld\nexpect_not_measurement %ld\n", lines,
           count[good], count[spike] + count[range], count[malformed] + count[junk]);
    /* Timers keep the program from ever going quiet for long; the same half
     * second after the last line counts in every run. */
    printf("cpu_ns %lld\n", task_cpu_ns(pid) - cpu_before);
    for (int k = 0; k < sink_count; ++k)
        if (sinks[k].used)
            report_sink(k, &sinks[k], lines);
    printf("done\n");
    fflush(stdout);
}

int main(int argc, char **argv)
{
    parse(argc, argv);
    static struct sink sinks[sink_count];
    sink_expect(opt.listen ? NULL : is_expected);
    char path[128];
    int input = -1, port = 0;
    if (!opt.listen && (input = open_input(path, sizeof path)) >= 0)
        printf("input %s\n", path);
    if (opt.udp && open_udp(&sinks[sink_udp], &port) == 0)
        printf("udp %d\n", port);
    if (opt.serial && open_serial(&sinks[sink_serial], path, sizeof path) == 0)
        printf("serial %s\n", path);
    printf("waiting\n");
    fflush(stdout);

    char command[64];
    if (!fgets(command, sizeof command, stdin) || strncmp(command, "start ", 6) != 0)
        return 0;
    const pid_t pid = (pid_t)atol(command + 6);
    if ((opt.tcp_port && open_tcp(&sinks[sink_tcp], opt.tcp_port) != 0)
        || (opt.mqtt_port && open_mqtt(&sinks[sink_mqtt], opt.mqtt_port, opt.topic) != 0)) {
        printf("error: could not connect to %s\n",
               opt.mqtt_port ? "the broker or the program" : "the program");
        fflush(stdout);
        return 1;
    }
    /* Gives the program time to take the new client in before lines come. */
    sleep_s(0.3);
    printf("ready\n");
    fflush(stdout);
    const long long cpu_before = task_cpu_ns(pid);
    long lines = 0;
    if (opt.listen)
        receive_until(sinks, now_s() + 3600, 1);
    else if ((lines = write_lines(input, sinks)) < 0)
        return perror("outprobe: write"), 1;
    drain(sinks);
    close_mqtt();
    report(sinks, lines, pid, cpu_before);
    while (fgets(command, sizeof command, stdin)) { }
    return 0;
}
