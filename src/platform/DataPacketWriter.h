#pragma once

#include "platform/DataPacket.h"

// Writes a data packet in the table engine's own binary layout: 24-byte header, one descriptor
// per field (WIDTH for strings, SUBTYPE where set), the dataset parameters (LCID when set), then
// the rows with status 0. Empty strings go out as one zero byte, empty blobs as NULL.
// A packet that cannot be written (row of the wrong length, a value that does not suit its
// field, a string longer than its width) raises EDatabaseError.
QByteArray writeDataPacket(const DataPacket& packet);
