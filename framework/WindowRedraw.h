#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

// Waits, running a local event loop, until every one of `windows` has been given its new size
// and has then drawn itself at that size once, or until `limitMs` has passed. A window closed
// meanwhile needs no waiting for. For changes the display server makes in its own time (leaving
// full screen on Wayland) where what follows must come after them.
void waitUntilRedrawnAtNewSize(const QList<QPointer<QWidget>>& windows, int limitMs);
