#ifndef FOLDERACCESS_H
#define FOLDERACCESS_H

#include <QString>

// Makes folder ready to write files in, creating it and the folders above
// it as `mkdir -p` would. Empty when it is; otherwise why not, in words an
// operator can act on: not a folder, no permission, a read-only file system.
QString prepare_folder(const QString &folder);

#endif
