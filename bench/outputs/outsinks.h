/* The receiving ends of the program's outputs for the output benchmark: a
 * UDP socket, the far side of a pseudo-terminal, a TCP client and an MQTT
 * subscriber. Each sentence that arrives is timed and matched by its speed
 * to the line that was written for it. */
#ifndef OUTSINKS_H
#define OUTSINKS_H

#include <poll.h>

enum sink_kind { sink_udp, sink_serial, sink_tcp, sink_mqtt, sink_count };

/* Speeds of the lines written are 1450.000 + index / 1000, so the index of a
 * line is in every sentence that carries the speed with three decimals. */
#define BASE_SPEED 1450.0
#define MAX_LINES 40000

struct sink
{
    int used;
    int fd; /* -1 for MQTT, whose library has its own thread */
    char pending[8192]; /* a stream's bytes up to the next line end */
    int pending_len;
    long received; /* sentences that arrived */
    long matched; /* ... that were expected and arrived once */
    long unexpected; /* ... for a line that was not to go out, or twice */
    double *arrived_at; /* by line index; 0 until it arrives */
};

const char *sink_name(int kind);

/* Opens the receiving end; returns 0 on success. udp: a loopback socket, its
 * port in *port_out. serial: a pseudo-terminal, the program's side in
 * path_out. tcp: connects to port (tries for 20 s). mqtt: subscribes to
 * topic at the broker on port and waits for the broker to confirm. */
int open_udp(struct sink *s, int *port_out);
int open_serial(struct sink *s, char *path_out, int path_size);
int open_tcp(struct sink *s, int port);
int open_mqtt(struct sink *s, int port, const char *topic);
void close_mqtt(void);

/* Sinks with a descriptor join the poll set; returns how many were added. */
int sink_pollfds(struct sink *sinks, struct pollfd *fds, int *kinds);
/* is_expected(index) says whether a line was to go out; without it (NULL)
 * sentences are only counted. Set before any sink opens. */
void sink_expect(int (*is_expected)(long index));
/* Reads what is there; returns the number of sentences taken, -1 when the
 * other end went away. */
int sink_read(struct sink *s, int kind);

/* Sentences taken so far over all sinks, the MQTT thread's included. */
long sink_total(const struct sink *sinks);

/* A free loopback TCP port, for a server another process is to start. */
int free_tcp_port(void);

#endif
