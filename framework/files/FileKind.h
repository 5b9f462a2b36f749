#pragma once

#include "base/Result.h"

#include <QString>

#include <sys/types.h>

// What is at a name that is not an ordinary file (a folder, a device, a named pipe, a socket),
// in the words of reading it and of saving over it, from the mode that stat() gives.

// Fails with "it is a folder, not a file" and the like; succeeds for an ordinary file.
Result<void> readableKind(mode_t mode);
// Fails with "“name” is a folder, not a file: only ordinary files are saved over" and the
// like; succeeds for an ordinary file.
Result<void> savableKind(const QString& name, mode_t mode);
