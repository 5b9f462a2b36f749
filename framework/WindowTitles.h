#pragma once

#include <QStringList>

// What tells files of the same name apart in window titles, as editors do: for each path, the
// shortest end of its folder's path that no other path of the same file name shares ("scenes"
// for /home/me/scenes/first.orbalin beside /home/me/other/first.orbalin; the whole folder when
// nothing shorter will do), or nothing when its file name is unique. Empty paths (documents
// without a file) get nothing. The result is parallel to `paths`.
QStringList distinguishingFolders(const QStringList& paths);
