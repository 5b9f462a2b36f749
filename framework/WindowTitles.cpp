#include "framework/WindowTitles.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

struct Place {
    QString name;
    QStringList folders; // from the root down
};

// The last `count` folders, or the whole folder's path when it has no more.
QString folderEnd(const Place& place, qsizetype count) {
    if (count >= place.folders.size())
        return u'/' + place.folders.join(u'/');
    return place.folders.mid(place.folders.size() - count).join(u'/');
}

} // namespace

QStringList distinguishingFolders(const QStringList& paths) {
    std::vector<Place> places;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        places.push_back(
            {path.isEmpty() ? QString() : info.fileName(),
             QDir::fromNativeSeparators(info.absolutePath()).split(u'/', Qt::SkipEmptyParts)});
    }
    QStringList result;
    for (const Place& place : places) {
        std::vector<const Place*> namesakes;
        for (const Place& other : places)
            if (&other != &place && !place.name.isEmpty() && other.name == place.name)
                namesakes.push_back(&other);
        if (namesakes.empty()) {
            result.append(QString());
            continue;
        }
        qsizetype count = 1;
        const auto shared = [&](qsizetype n) {
            return std::any_of(namesakes.begin(), namesakes.end(), [&](const Place* other) {
                return folderEnd(*other, n) == folderEnd(place, n);
            });
        };
        while (count < place.folders.size() && shared(count))
            ++count;
        result.append(QDir::toNativeSeparators(folderEnd(place, count)));
    }
    return result;
}
