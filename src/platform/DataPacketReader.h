#pragma once

#include "platform/DataPacket.h"

// Parses one binary data packet. Every read is checked against the end of the buffer; an empty,
// truncated, inconsistent or unsupported packet raises EDatabaseError and yields nothing.
// Only visible rows are kept, in packet order; "not changed" blobs are resolved through the
// packet's change log.
DataPacket readDataPacket(const QByteArray& bytes);
