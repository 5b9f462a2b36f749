#include "framework/FileDescriptor.h"

#include <cstring>

QString systemReason(int error) {
    char buffer[256];
    // The GNU strerror_r answers a pointer, to the buffer or to a static text.
    return QString::fromLocal8Bit(strerror_r(error, buffer, sizeof buffer));
}
