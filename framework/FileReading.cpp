#include "framework/FileReading.h"

#include "framework/BackgroundTask.h"
#include "framework/FileDescriptor.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("FileReading", text);
}

// What a path that is not a regular file is, or nothing when it is one.
std::optional<QString> notAFile(mode_t mode) {
    if (S_ISREG(mode))
        return std::nullopt;
    if (S_ISDIR(mode))
        return tr("It is a folder, not a file.");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return tr("It is a device, not a file.");
    if (S_ISFIFO(mode))
        return tr("It is a named pipe, not a file.");
    if (S_ISSOCK(mode))
        return tr("It is a socket, not a file.");
    return tr("It is not a regular file.");
}

} // namespace

std::optional<QByteArray> readRegularFile(const QString& path, qint64 maximumSize, QString* reason,
                                          BackgroundTask* task) {
    const QByteArray name = QFile::encodeName(path);
    // Devices are not even opened where the path shows them for what they are: opening some
    // has effects of its own. What counts is the check on the open descriptor below.
    struct stat status {};
    if (::stat(name.constData(), &status) == 0) {
        if (auto what = notAFile(status.st_mode)) {
            *reason = *what;
            return std::nullopt;
        }
    }
    // Non-blocking, so that a named pipe with no writer cannot hold the open up.
    const FileDescriptor file(
        ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0) {
        const int error = errno;
        *reason = systemReason(error);
        return std::nullopt;
    }
    if (::fstat(file.get(), &status) != 0) {
        *reason = systemReason(errno);
        return std::nullopt;
    }
    if (auto what = notAFile(status.st_mode)) {
        *reason = *what;
        return std::nullopt;
    }
    const qint64 size = status.st_size;
    if (size > maximumSize) {
        const QLocale locale;
        *reason = tr("The file is too large to open: it holds %1 (%2 bytes), and the limit is %3.")
                      .arg(locale.formattedDataSize(size, 1), locale.toString(size),
                           locale.formattedDataSize(maximumSize, 0));
        return std::nullopt;
    }

    QByteArray data;
    try {
        data = QByteArray(size, Qt::Uninitialized);
    } catch (const std::bad_alloc&) {
        *reason = tr("There is not enough memory to open the file.");
        return std::nullopt;
    }
    // A few megabytes at a time, so that a cancel is seen soon even on a slow disk.
    constexpr qint64 chunk = qint64(4) << 20;
    qint64 done = 0;
    while (done < size) {
        if (task) {
            if (task->isCancelled()) {
                *reason = systemReason(ECANCELED);
                return std::nullopt;
            }
            task->setProgress(double(done) / double(size));
        }
        const ssize_t count =
            ::read(file.get(), data.data() + done, std::size_t(std::min(chunk, size - done)));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            *reason = systemReason(errno);
            return std::nullopt;
        }
        if (count == 0)
            break;
        done += count;
    }
    // One byte more tells a file that grew; fewer tells one that shrank.
    char extra = 0;
    ssize_t more = 0;
    do
        more = ::read(file.get(), &extra, 1);
    while (more < 0 && errno == EINTR);
    if (done != size || more > 0) {
        *reason = tr("The file changed while it was being read. Try again once it is complete.");
        return std::nullopt;
    }
    return data;
}
