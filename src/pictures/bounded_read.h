#pragma once

#include "platform/outcome.h"

#include <QByteArray>
#include <QString>

namespace tilemond {

// Reads a whole regular file of at most maxBytes. Anything else is refused before a byte is
// read, so that a name pointing at a FIFO, a device such as /dev/zero or a socket can neither
// block nor feed endless bytes: the file is opened without waiting and checked on its handle.
// The reason for a failure is in plain words ("it is not a regular file").
Outcome<QByteArray> readRegularFile(const QString& path, qint64 maxBytes);

// A system error number in plain words, as it follows a colon ("read-only file system").
QString systemReason(int error);

} // namespace tilemond
