/* Records every message under a topic filter from a local broker, for the
 * hostile session benchmark: one line per message,
 *     <UTC ms received> TAB <topic> TAB <retain 0|1> TAB <payload>
 * and "# connected <ms>" / "# lost <ms>" when the link comes and goes. A
 * broker that goes away is tried again every 100 ms, so a restarted broker
 * finds this subscriber back before the station it watches (whose client
 * waits a second at least) can hand over what it kept.
 *
 * usage: mqttrec PORT FILTER             until SIGTERM or SIGINT
 *        mqttrec PORT TOPIC --retained   prints the retained payload of
 *                                        TOPIC, or "none" after 3 s
 */
#define _GNU_SOURCE
#include <mosquitto.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static volatile sig_atomic_t stop;
static const char *filter;
static int retained_only;
static int got_retained;

static void on_signal(int sig)
{
    (void)sig;
    stop = 1;
}

static long long utc_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_REALTIME, &t);
    return (long long)t.tv_sec * 1000 + t.tv_nsec / 1000000;
}

static void on_connect(struct mosquitto *mosq, void *data, int rc)
{
    (void)data;
    if (rc != 0)
        return;
    if (!retained_only)
        printf("# connected %lld\n", utc_ms());
    mosquitto_subscribe(mosq, NULL, filter, 1);
}

static void on_message(struct mosquitto *mosq, void *data, const struct mosquitto_message *m)
{
    (void)mosq;
    (void)data;
    if (retained_only) {
        if (m->retain) {
            printf("%.*s\n", m->payloadlen, (const char *)m->payload);
            got_retained = 1;
        }
        return;
    }
    printf("%lld\t%s\t%d\t%.*s\n", utc_ms(), m->topic, m->retain ? 1 : 0, m->payloadlen,
           (const char *)m->payload);
}

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: mqttrec PORT FILTER [--retained]\n");
        return 2;
    }
    const int port = atoi(argv[1]);
    filter = argv[2];
    retained_only = argc > 3 && strcmp(argv[3], "--retained") == 0;
    signal(SIGTERM, on_signal);
    signal(SIGINT, on_signal);
    signal(SIGPIPE, SIG_IGN);
    setvbuf(stdout, NULL, _IOLBF, 0);

    mosquitto_lib_init();
    struct mosquitto *mosq = mosquitto_new(NULL, true, NULL);
    if (!mosq) {
        fprintf(stderr, "mqttrec: out of memory\n");
        return 1;
    }
    mosquitto_connect_callback_set(mosq, on_connect);
    mosquitto_message_callback_set(mosq, on_message);

    const long long deadline = utc_ms() + 3000;
    int connected = mosquitto_connect(mosq, "127.0.0.1", port, 30) == MOSQ_ERR_SUCCESS;
    while (!stop) {
        if (retained_only && (got_retained || utc_ms() > deadline))
            break;
        if (!connected) {
            struct timespec pause = {0, 100 * 1000000L};
            nanosleep(&pause, NULL);
            connected = mosquitto_reconnect(mosq) == MOSQ_ERR_SUCCESS;
            continue;
        }
        const int rc = mosquitto_loop(mosq, 100, 1);
        if (rc != MOSQ_ERR_SUCCESS && rc != MOSQ_ERR_INVAL) {
            connected = 0;
            if (!retained_only)
                printf("# lost %lld\n", utc_ms());
        }
    }
    if (retained_only && !got_retained)
        printf("none\n");
    mosquitto_disconnect(mosq);
    mosquitto_destroy(mosq);
    mosquitto_lib_cleanup();
    return 0;
}
