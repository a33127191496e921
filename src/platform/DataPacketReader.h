#pragma once

#include "platform/DataPacket.h"

// Parses one binary data packet. Every read is checked against the end of the buffer; an empty,
// truncated, inconsistent or unsupported packet raises EDatabaseError and yields nothing.
// Only visible rows are kept, in packet order; "not changed" blobs are resolved through the
// packet's change log. A packet of more than 2^20 rows or 2^22 values is refused as too large.
DataPacket readDataPacket(const QByteArray& bytes);
