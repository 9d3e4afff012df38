#ifndef DEVICECHECK_H
#define DEVICECHECK_H

#include <QString>

// What the system says of a serial device's path before the port is opened,
// so the operator reads why it would not open rather than Qt's bare error.
// A system that cannot tell says none, and Qt's error decides.
enum class DeviceProblem : quint8 {
    none, // found, a device, readable and writable, or the system cannot tell
    missing,
    not_a_device, // a file or folder, not a character device
    no_access, // no permission to read and write it
};

DeviceProblem device_problem(const QString &path);

#endif
