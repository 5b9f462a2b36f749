#include "framework/files/FileReading.h"

#include "base/BackgroundTask.h"
#include "framework/files/FileDescriptor.h"
#include "framework/files/FileKind.h"

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

struct FileReading {
    Q_DECLARE_TR_FUNCTIONS(FileReading)
};

} // namespace

Result<QByteArray> readRegularFile(const QString& path, qint64 maximumSize, BackgroundTask* task) {
    const QByteArray name = QFile::encodeName(path);
    // Devices are not even opened where the path shows them for what they are: opening some
    // has effects of its own. What counts is the check on the open descriptor below.
    struct stat status {};
    if (::stat(name.constData(), &status) == 0) {
        if (Result<void> kind = readableKind(status.st_mode); !kind)
            return kind.failure();
    }
    // Non-blocking, so that a named pipe with no writer cannot hold the open up.
    const FileDescriptor file(
        ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0)
        return Failure::because(systemReason(errno));
    if (::fstat(file.get(), &status) != 0)
        return Failure::because(systemReason(errno));
    if (Result<void> kind = readableKind(status.st_mode); !kind)
        return kind.failure();
    const qint64 size = status.st_size;
    if (size > maximumSize) {
        const QLocale locale;
        return Failure::because(
            FileReading::tr(
                "the file is too large to open: it holds %1 (%2 bytes), and the limit is %3")
                .arg(locale.formattedDataSize(size, 1), locale.toString(size),
                     locale.formattedDataSize(maximumSize, 0)));
    }

    QByteArray data;
    try {
        data = QByteArray(size, Qt::Uninitialized);
    } catch (const std::bad_alloc&) {
        return Failure::because(FileReading::tr("there is not enough memory to open the file"));
    }
    // A few megabytes at a time, so that a cancel is seen soon even on a slow disk.
    constexpr qint64 chunk = qint64(4) << 20;
    qint64 done = 0;
    while (done < size) {
        if (task) {
            if (task->isCancelled())
                return Failure::cancel();
            task->setProgress(double(done) / double(size));
            task->setAmount(BackgroundTask::Unit::Bytes, done, size);
        }
        const ssize_t count =
            ::read(file.get(), data.data() + done, std::size_t(std::min(chunk, size - done)));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return Failure::because(systemReason(errno));
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
    if (done != size || more > 0)
        return Failure::because(FileReading::tr(
            "the file changed while it was being read. Try again once it is complete"));
    return data;
}
