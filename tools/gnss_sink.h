#ifndef GNSS_SINK_H
#define GNSS_SINK_H

#include "gnss_options.h"

#include <climits>
#include <string>

#include <netinet/in.h>

// Where the sentences go: a pseudo-terminal's master, a UDP socket or stdout.
class GnssSink
{
public:
    bool open(const GnssOptions &options);
    ~GnssSink();
    // A pseudo-terminal nobody has open gets nothing, as a receiver's port
    // with no cable.
    bool host_present();
    bool send(const std::string &data);

    char slave_path[PATH_MAX] = {};

private:
    int fd = -1;
    sockaddr_in target{};
    bool udp = false, out = false;
};

#endif
