/* The floor for the output benchmark: reads lines from a pseudo-terminal
 * and sends each as a UDP datagram to 127.0.0.1, nothing else, with one
 * blocking read after another. What the program adds is its latency less
 * this one's on the same machine at the same time.
 *
 * usage: relay PATH UDP-PORT
 */
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: relay PATH UDP-PORT\n");
        return 2;
    }
    const int in = open(argv[1], O_RDONLY | O_NOCTTY);
    const int out = socket(AF_INET, SOCK_DGRAM, 0);
    struct termios t;
    if (in < 0 || out < 0 || tcgetattr(in, &t) != 0) {
        perror("relay");
        return 1;
    }
    cfmakeraw(&t);
    tcsetattr(in, TCSANOW, &t);
    const struct sockaddr_in to = {.sin_family = AF_INET,
                                   .sin_port = htons((uint16_t)atoi(argv[2])),
                                   .sin_addr.s_addr = htonl(INADDR_LOOPBACK)};
    char line[4096];
    size_t len = 0;
    for (;;) {
        char buf[4096];
        const ssize_t n = read(in, buf, sizeof buf);
        if (n <= 0)
            return 0;
        for (ssize_t i = 0; i < n; ++i) {
            if (len < sizeof line)
                line[len++] = buf[i];
            if (buf[i] == '\n') {
                sendto(out, line, len, 0, (const struct sockaddr *)&to, sizeof to);
                len = 0;
            }
        }
    }
}
