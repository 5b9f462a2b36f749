#include "framework/SafeFileWriter.h"

#include "framework/FileDescriptor.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FileWriteResult failure(int error) {
    return {false, systemReason(error)};
}

// The temporary file beside the target: removed again unless it was renamed into place.
class TemporaryFile {
  public:
    TemporaryFile(int folder, const QByteArray& targetName)
        : folder_(folder) {
        // Hidden, named after the target, and new: never an existing file of the same name.
        for (int attempt = 0; attempt < 100 && !file_.valid(); ++attempt) {
            const QByteArray suffix =
                QByteArray::number(QRandomGenerator::global()->generate64(), 36);
            name_ = '.' + targetName + '.' + suffix;
            file_.reset(::openat(folder_, name_.constData(),
                                 O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
            if (!file_.valid() && errno != EEXIST)
                break;
        }
        if (!file_.valid())
            name_.clear();
    }
    ~TemporaryFile() {
        if (!name_.isEmpty())
            ::unlinkat(folder_, name_.constData(), 0);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    FileDescriptor& file() { return file_; }
    const QByteArray& name() const { return name_; }
    // It has become the target: nothing is left to remove.
    void renamed() { name_.clear(); }

  private:
    int folder_;
    FileDescriptor file_;
    QByteArray name_;
};

bool isCancelled(const std::atomic<bool>* cancelled) {
    return cancelled && cancelled->load();
}

// Writes in slices, so that a cancelled write stops soon.
bool writeAll(int fd, QByteArrayView data, const std::atomic<bool>* cancelled) {
    constexpr qsizetype slice = 4 << 20;
    const char* bytes = data.data();
    qsizetype left = data.size();
    while (left > 0) {
        if (isCancelled(cancelled)) {
            errno = ECANCELED;
            return false;
        }
        const ssize_t written = ::write(fd, bytes, static_cast<size_t>(std::min(left, slice)));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO;
            return false;
        }
        bytes += written;
        left -= written;
    }
    return true;
}

// The file the path names: through a symbolic link, the file it points to is replaced and the
// link stays as it is.
QString resolvedTarget(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    struct stat info {};
    if (::lstat(QFile::encodeName(absolute).constData(), &info) != 0 || !S_ISLNK(info.st_mode))
        return absolute;
    const QString target = QFileInfo(absolute).canonicalFilePath();
    return target.isEmpty() ? absolute : target;
}

} // namespace

FileWriteResult writeFileSafely(const QString& path, QByteArrayView data,
                                const std::atomic<bool>* cancelled) {
    const QFileInfo target(resolvedTarget(path));
    const QByteArray name = QFile::encodeName(target.fileName());
    if (name.isEmpty())
        return failure(EISDIR);

    const FileDescriptor folder(::open(QFile::encodeName(target.absolutePath()).constData(),
                                       O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid())
        return failure(errno);

    // An existing file must be one that may be written, and keeps its permissions and owner.
    struct stat existing {};
    const bool exists = ::fstatat(folder.get(), name.constData(), &existing, 0) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return failure(EISDIR);
    if (exists && ::faccessat(folder.get(), name.constData(), W_OK, AT_EACCESS) != 0)
        return failure(errno);

    TemporaryFile temporary(folder.get(), name);
    FileDescriptor& file = temporary.file();
    if (!file.valid())
        return failure(errno);
    if (exists) {
        if (::fchmod(file.get(), existing.st_mode & 07777) != 0)
            return failure(errno);
        if (::fchown(file.get(), existing.st_uid, existing.st_gid) != 0) {
            // Only the owner's own files can be given back to them: otherwise the file
            // becomes the writer's, as a file it created would.
        }
    }
    if (!writeAll(file.get(), data, cancelled) || ::fsync(file.get()) != 0 || !file.close())
        return failure(errno);
    // The last moment at which the old file can still stay as it was.
    if (isCancelled(cancelled))
        return failure(ECANCELED);
    if (::renameat(folder.get(), temporary.name().constData(), folder.get(), name.constData()) != 0)
        return failure(errno);
    temporary.renamed();
    // The rename itself lasts only once the folder is on disk. File systems that cannot sync
    // a folder say so with EINVAL; they keep it another way.
    if (::fsync(folder.get()) != 0 && errno != EINVAL)
        return failure(errno);
    return {true, {}};
}
