#include "devicecheck.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

DeviceProblem device_problem(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info;
    if (::stat(name.constData(), &info) != 0)
        return DeviceProblem::missing;
    if (!S_ISCHR(info.st_mode))
        return DeviceProblem::not_a_device;
    if (::access(name.constData(), R_OK | W_OK) != 0)
        return DeviceProblem::no_access;
    return DeviceProblem::none;
}
