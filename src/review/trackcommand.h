#ifndef TRACKCOMMAND_H
#define TRACKCOMMAND_H

#include <QString>

class QTextStream;

// The batch command: the positioned readings of the log at log_path as a
// track in format ("geojson", "kml" or "gpx") at out_path. Returns 0 when
// written, 1 when the log cannot be read, is not a measurement log or has no
// positions, 2 when out_path cannot be written; the reason goes to err.
// Needs no display.
int export_track_from_file(const QString &log_path, const QString &format, const QString &out_path,
                           QTextStream &err);

#endif
