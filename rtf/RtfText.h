#pragma once

#include "rtf/RtfReader.h"

#include <QTextCursor>

// Inserts read RTF at the cursor as Qt rich text: one block per paragraph (the first one goes
// into the cursor's current block), each run with its own character format.
void insertRtfDocument(QTextCursor& cursor, const RtfDocument& document);
