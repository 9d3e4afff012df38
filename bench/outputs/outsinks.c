#define _GNU_SOURCE
#include "outsinks.h"
#include "schedstat.h"

#include <arpa/inet.h>
#include <errno.h>
#include <fcntl.h>
#include <math.h>
#include <mosquitto.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

/* The MQTT library calls back from its own thread. */
static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
static struct mosquitto *mosq;
static struct sink *mqtt_sink;
static int (*expected)(long index); /* NULL: count only */
static volatile int subscribed;

const char *sink_name(int kind)
{
    static const char *names[] = {"udp", "serial", "tcp", "mqtt"};
    return names[kind];
}

/* The speed in a sentence: after "speed_m_s": in JSON, otherwise the first
 * number. NAN when there is none. */
static double sentence_speed(const char *text)
{
    const char *json = strstr(text, "\"speed_m_s\":");
    const char *p = json ? json + 12 : text;
    while (*p && !(*p >= '0' && *p <= '9'))
        ++p;
    char *end;
    const double speed = strtod(p, &end);
    return end == p ? NAN : speed;
}

static void take_sentence(struct sink *s, const char *text, double now)
{
    pthread_mutex_lock(&lock);
    ++s->received;
    if (expected) {
        const double speed = sentence_speed(text);
        const long index = isnan(speed) ? -1 : lround((speed - BASE_SPEED) * 1000.0);
        if (index >= 0 && index < MAX_LINES && expected(index) && s->arrived_at[index] == 0) {
            s->arrived_at[index] = now;
            ++s->matched;
        } else {
            ++s->unexpected;
        }
    }
    pthread_mutex_unlock(&lock);
}

static void sink_init(struct sink *s, int fd)
{
    s->used = 1;
    s->fd = fd;
    s->arrived_at = calloc(MAX_LINES, sizeof(double));
}

int open_udp(struct sink *s, int *port_out)
{
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    struct sockaddr_in a = {.sin_family = AF_INET, .sin_addr.s_addr = htonl(INADDR_LOOPBACK)};
    socklen_t size = sizeof a;
    if (fd < 0 || bind(fd, (struct sockaddr *)&a, sizeof a) != 0
        || getsockname(fd, (struct sockaddr *)&a, &size) != 0)
        return -1;
    *port_out = ntohs(a.sin_port);
    sink_init(s, fd);
    return 0;
}

int open_serial(struct sink *s, char *path_out, int path_size)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
        return -1;
    snprintf(path_out, (size_t)path_size, "%s", ptsname(master));
    /* Held open, raw, so the program's writes are never echoed or changed and
     * its closing never hangs the line up. */
    const int slave = open(path_out, O_RDWR | O_NOCTTY);
    struct termios t;
    if (slave < 0 || tcgetattr(slave, &t) != 0)
        return -1;
    cfmakeraw(&t);
    tcsetattr(slave, TCSANOW, &t);
    sink_init(s, master);
    return 0;
}

int open_tcp(struct sink *s, int port)
{
    const struct sockaddr_in a = {.sin_family = AF_INET,
                                  .sin_port = htons((uint16_t)port),
                                  .sin_addr.s_addr = htonl(INADDR_LOOPBACK)};
    for (int attempt = 0; attempt < 200; ++attempt) {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        if (fd >= 0 && connect(fd, (const struct sockaddr *)&a, sizeof a) == 0) {
            sink_init(s, fd);
            return 0;
        }
        close(fd);
        sleep_s(0.1);
    }
    return -1;
}

static void on_subscribe(struct mosquitto *m, void *data, int mid, int count, const int *qos)
{
    (void)m, (void)data, (void)mid, (void)count, (void)qos;
    subscribed = 1;
}

static void on_message(struct mosquitto *m, void *data, const struct mosquitto_message *message)
{
    (void)m, (void)data;
    const double now = now_s();
    char text[1024];
    const int len
        = message->payloadlen < (int)sizeof text - 1 ? message->payloadlen : (int)sizeof text - 1;
    memcpy(text, message->payload, (size_t)len);
    text[len] = 0;
    take_sentence(mqtt_sink, text, now);
}

int open_mqtt(struct sink *s, int port, const char *topic)
{
    mosquitto_lib_init();
    mosq = mosquitto_new(NULL, true, NULL);
    if (!mosq)
        return -1;
    mosquitto_subscribe_callback_set(mosq, on_subscribe);
    mosquitto_message_callback_set(mosq, on_message);
    sink_init(s, -1);
    mqtt_sink = s;
    if (mosquitto_connect(mosq, "127.0.0.1", port, 30) != MOSQ_ERR_SUCCESS
        || mosquitto_subscribe(mosq, NULL, topic, 0) != MOSQ_ERR_SUCCESS
        || mosquitto_loop_start(mosq) != MOSQ_ERR_SUCCESS)
        return -1;
    for (int i = 0; i < 100 && !subscribed; ++i)
        sleep_s(0.05);
    return subscribed ? 0 : -1;
}

void close_mqtt(void)
{
    if (!mosq)
        return;
    mosquitto_disconnect(mosq);
    mosquitto_loop_stop(mosq, false);
    mosquitto_destroy(mosq);
    mosq = NULL;
}

int sink_pollfds(struct sink *sinks, struct pollfd *fds, int *kinds)
{
    int n = 0;
    for (int k = 0; k < sink_count; ++k) {
        if (sinks[k].used && sinks[k].fd >= 0) {
            fds[n] = (struct pollfd){.fd = sinks[k].fd, .events = POLLIN};
            kinds[n++] = k;
        }
    }
    return n;
}

void sink_expect(int (*is_expected)(long index))
{
    expected = is_expected;
}

int sink_read(struct sink *s, int kind)
{
    char buf[4096];
    const ssize_t n
        = kind == sink_udp ? recv(s->fd, buf, sizeof buf - 1, 0) : read(s->fd, buf, sizeof buf - 1);
    const double now = now_s();
    if (n <= 0)
        return n < 0 && errno != EAGAIN && errno != EINTR ? -1 : 0;
    if (kind == sink_udp) {
        buf[n] = 0;
        take_sentence(s, buf, now);
        return 1;
    }
    /* A stream: sentences end with "\n"; a piece of one waits for the rest. */
    int taken = 0;
    for (ssize_t i = 0; i < n; ++i) {
        if (s->pending_len < (int)sizeof s->pending - 1)
            s->pending[s->pending_len++] = buf[i];
        if (buf[i] == '\n') {
            s->pending[s->pending_len] = 0;
            take_sentence(s, s->pending, now);
            s->pending_len = 0;
            ++taken;
        }
    }
    return taken;
}

long sink_total(const struct sink *sinks)
{
    long total = 0;
    pthread_mutex_lock(&lock);
    for (int k = 0; k < sink_count; ++k)
        total += sinks[k].received;
    pthread_mutex_unlock(&lock);
    return total;
}

int free_tcp_port(void)
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    struct sockaddr_in a = {.sin_family = AF_INET, .sin_addr.s_addr = htonl(INADDR_LOOPBACK)};
    socklen_t size = sizeof a;
    if (fd < 0 || bind(fd, (struct sockaddr *)&a, sizeof a) != 0
        || getsockname(fd, (struct sockaddr *)&a, &size) != 0)
        return -1;
    close(fd);
    return ntohs(a.sin_port);
}
