#ifndef EXPORTNAME_H
#define EXPORTNAME_H

#include <QString>
#include <QStringList>

// The names the trend and review windows propose for their exports, and
// where what the operator then chose is written.

// "<source>_<from>-<to>.<suffix>": source a file's path (its base name is
// taken) or a port's name or path (its last part), the span in UTC to the
// second, as in "night_20261207T080000Z-20261207T090000Z.png".
QString export_name(const QString &source, qint64 from_ms, qint64 to_ms, const QString &suffix);

// Where an export chosen as chosen is written: with ".<suffix>" added when
// its name does not end so (in any case), so an export never takes the name
// of a file of another kind. Empty, with *refusal saying why, when what is
// there must not be replaced: a folder or device, one of kept (the files
// being written), or for a PDF or PNG a file that is not one.
QString export_target(const QString &chosen, const QString &suffix, const QStringList &kept,
                      QString *refusal);

#endif
