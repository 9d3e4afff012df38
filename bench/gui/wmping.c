/* Measures how quickly a window's event loop answers, the way a window
 * manager checks that a program is alive: it sends _NET_WM_PING every
 * interval and times the echo the client sends back to the root window.
 *
 * usage: wmping WINDOW [--interval-ms 50]
 *        wmping WINDOW --close
 * Runs until SIGTERM or SIGINT, waits a little for late answers, then prints
 * "pings N answered M p50_ms X p99_ms Y max_ms Z". A ping still unanswered
 * counts with the time it has waited so far, so a frozen window shows.
 * --close asks the window to close as a window manager's close button does,
 * so the program ends in order and lets go of its serial port lock.
 */
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/signalfd.h>
#include <time.h>

struct ping
{
    double sent;
    double waited; /* < 0 while unanswered */
};

static double now_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec * 1e3 + (double)t.tv_nsec / 1e6;
}

static int by_value(const void *a, const void *b)
{
    const double x = *(const double *)a, y = *(const double *)b;
    return (x > y) - (x < y);
}

static double percentile(const double *sorted, long n, double p)
{
    if (n == 0)
        return 0;
    long i = (long)(p * (double)(n - 1) + 0.5);
    return sorted[i < n ? i : n - 1];
}

static void send_protocol(Display *dpy, Window win, Atom protocols, Atom protocol, long seq)
{
    XEvent ev;
    memset(&ev, 0, sizeof ev);
    ev.xclient.type = ClientMessage;
    ev.xclient.window = win;
    ev.xclient.message_type = protocols;
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = (long)protocol;
    ev.xclient.data.l[1] = CurrentTime;
    ev.xclient.data.l[2] = (long)win;
    ev.xclient.data.l[3] = seq; /* the client echoes the whole message */
    XSendEvent(dpy, win, False, NoEventMask, &ev);
    XFlush(dpy);
}

/* Takes every queued event; records the echoes of our pings. */
static void read_echoes(Display *dpy, Window win, Atom protocols, Atom ping, struct ping *pings,
                        long sent)
{
    while (XPending(dpy) > 0) {
        XEvent ev;
        XNextEvent(dpy, &ev);
        if (ev.type != ClientMessage || ev.xclient.message_type != protocols
            || (Atom)ev.xclient.data.l[0] != ping || (Window)ev.xclient.data.l[2] != win)
            continue;
        const long seq = ev.xclient.data.l[3];
        if (seq >= 0 && seq < sent && pings[seq].waited < 0)
            pings[seq].waited = now_ms() - pings[seq].sent;
    }
}

static void print_summary(struct ping *pings, long sent)
{
    double *values = malloc(sizeof(double) * (size_t)(sent ? sent : 1));
    long answered = 0;
    const double now = now_ms();
    for (long i = 0; i < sent; ++i) {
        answered += pings[i].waited >= 0;
        values[i] = pings[i].waited >= 0 ? pings[i].waited : now - pings[i].sent;
    }
    qsort(values, (size_t)sent, sizeof(double), by_value);
    printf("pings %ld answered %ld p50_ms %.1f p99_ms %.1f max_ms %.1f\n", sent, answered,
           percentile(values, sent, 0.5), percentile(values, sent, 0.99),
           sent ? values[sent - 1] : 0.0);
    fflush(stdout);
    free(values);
}

/* Pings every interval until stop_fd reports a signal, then waits up to two
 * seconds for the answers still out; returns the pings, their count in sent. */
static struct ping *run_pings(Display *dpy, Window win, double interval, int stop_fd, long *sent)
{
    const Atom protocols = XInternAtom(dpy, "WM_PROTOCOLS", False);
    const Atom ping = XInternAtom(dpy, "_NET_WM_PING", False);
    /* Qt 5 echoes with StructureNotifyMask, the window manager standard
     * suggests SubstructureNotifyMask: listen for both on the root window. */
    XSelectInput(dpy, DefaultRootWindow(dpy), StructureNotifyMask | SubstructureNotifyMask);

    long capacity = 1024;
    struct ping *pings = malloc(sizeof *pings * (size_t)capacity);
    double next = now_ms(), deadline = 0;
    struct pollfd fds[2] = {{ConnectionNumber(dpy), POLLIN, 0}, {stop_fd, POLLIN, 0}};
    *sent = 0;
    for (;;) {
        read_echoes(dpy, win, protocols, ping, pings, *sent);
        const double now = now_ms();
        if (deadline > 0) {
            long open = 0;
            for (long i = 0; i < *sent; ++i)
                open += pings[i].waited < 0;
            if (open == 0 || now >= deadline)
                return pings;
        } else if (now >= next) {
            if (*sent == capacity)
                pings = realloc(pings, sizeof *pings * (size_t)(capacity *= 2));
            pings[*sent] = (struct ping){now, -1};
            send_protocol(dpy, win, protocols, ping, (*sent)++);
            next += interval;
            if (next < now)
                next = now + interval; /* we were late: no catch-up salvo */
            continue;
        }
        poll(fds, deadline > 0 ? 1 : 2, (int)((deadline > 0 ? deadline : next) - now) + 1);
        if (deadline == 0 && (fds[1].revents & POLLIN))
            deadline = now_ms() + 2000;
    }
}

int main(int argc, char **argv)
{
    const int close_window = argc == 3 && !strcmp(argv[2], "--close");
    if (argc != 2 && !close_window && !(argc == 4 && !strcmp(argv[2], "--interval-ms"))) {
        fprintf(stderr, "usage: wmping WINDOW [--interval-ms MS | --close]\n");
        return 2;
    }
    const Window win = (Window)strtoul(argv[1], NULL, 0);
    const double interval = argc == 4 ? atof(argv[3]) : 50.0;

    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTERM);
    sigaddset(&stop, SIGINT);
    sigprocmask(SIG_BLOCK, &stop, NULL);
    const int stop_fd = signalfd(-1, &stop, 0);

    Display *dpy = XOpenDisplay(NULL);
    if (!dpy || stop_fd < 0) {
        fprintf(stderr, "wmping: cannot open the display\n");
        return 1;
    }
    if (close_window) {
        send_protocol(dpy, win, XInternAtom(dpy, "WM_PROTOCOLS", False),
                      XInternAtom(dpy, "WM_DELETE_WINDOW", False), 0);
    } else {
        long sent = 0;
        struct ping *pings = run_pings(dpy, win, interval, stop_fd, &sent);
        print_summary(pings, sent);
        free(pings);
    }
    XCloseDisplay(dpy);
    return 0;
}
