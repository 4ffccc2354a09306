#pragma once
// The producer and contact lines of the splash and about windows, read from a
// text file below 附属/ (UTF-8, one line each).
#include <QString>
#include <QStringList>

namespace zelvor {

// The file's lines (at most maxLines); a missing or unreadable file gives
// the lines read so far and a message in error.
QStringList readInfoLines(const QString& file, int maxLines, QString& error);

} // namespace zelvor
