#pragma once

#include <QString>

// Where file dialogs start: in the folder of the document at hand, or else in the folder last
// used by any file dialog (remembered across runs), or else in the home folder.
namespace DialogFolders {

// `documentPath` is the active document's file; empty for a document without one.
QString startFolder(const QString& documentPath);
// Remembers the folder of a file just chosen, opened or saved.
void remember(const QString& filePath);

} // namespace DialogFolders
