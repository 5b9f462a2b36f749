#include "framework/SafeFileWriter.h"

#include "framework/files/FileDescriptor.h"
#include "framework/files/FileKind.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct SafeFileWriter {
    Q_DECLARE_TR_FUNCTIONS(SafeFileWriter)
};

// The name as the user gave it, for messages.
QString shownName(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() ? path : name;
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
            file_.reset(
                ::openat(folder_, name_.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
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

// Why the link at `link` is not followed, or nothing. In a sticky folder that others may
// write in, such as /tmp, anyone may plant a link; as the kernel does (fs.protected_symlinks),
// such a link is followed only when it belongs to the writer or to the folder's owner, or a
// stranger could make the writer replace a file of their choice. Checked here whatever that
// setting says, since the links are read by hand.
QString unfollowedLink(const QString& link, const struct stat& info) {
    struct stat folder {};
    if (::stat(QFile::encodeName(QFileInfo(link).absolutePath()).constData(), &folder) != 0)
        return QString();
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    if (!shared || info.st_uid == ::geteuid() || info.st_uid == folder.st_uid)
        return QString();
    return SafeFileWriter::tr(
               "“%1” is a link that another user made in a shared folder: it is not followed")
        .arg(shownName(link));
}

// Where the path leads: through symbolic links, the file the last one points to is replaced
// (or made, when it is not there yet) and the links stay as they are.
struct Resolved {
    QString target;  // empty when the links could not be read (errno says why) or were refused
    QString refusal; // why a link is not followed
};

Resolved resolvedTarget(const QString& path) {
    QString current = QFileInfo(path).absoluteFilePath();
    for (int hop = 0; hop < 40; ++hop) {
        const QByteArray encoded = QFile::encodeName(current);
        struct stat info {};
        if (::lstat(encoded.constData(), &info) != 0 || !S_ISLNK(info.st_mode))
            return {current, QString()};
        if (QString refusal = unfollowedLink(current, info); !refusal.isEmpty())
            return {QString(), refusal};
        char buffer[PATH_MAX];
        const ssize_t length = ::readlink(encoded.constData(), buffer, sizeof buffer);
        if (length < 0 || length == sizeof buffer) {
            if (length >= 0)
                errno = ENAMETOOLONG;
            return {};
        }
        const QString target = QFile::decodeName(QByteArray(buffer, length));
        current =
            target.startsWith(u'/') ? target : QFileInfo(current).absolutePath() + u'/' + target;
    }
    errno = ELOOP;
    return {};
}

// What stands at `name` in the folder now, when it is not an ordinary file: a link or anything
// else that took the file's place since the name was resolved.
Result<void> ordinaryFileIn(int folder, const QByteArray& name, const QString& shown) {
    struct stat info {};
    if (::fstatat(folder, name.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return {};
    if (S_ISLNK(info.st_mode))
        return Failure::because(
            SafeFileWriter::tr("“%1” changed while it was being saved").arg(shown));
    return savableKind(shown, info.st_mode);
}

} // namespace

QString folderFailureReason(const QString& folder, int error) {
    return error == ENOENT ? SafeFileWriter::tr("the folder “%1” is not there").arg(folder)
                           : systemReason(error);
}

Result<void> checkSaveTarget(const QString& path) {
    const Resolved resolved = resolvedTarget(path);
    if (!resolved.refusal.isEmpty())
        return Failure::because(resolved.refusal);
    struct stat info {};
    if (resolved.target.isEmpty() ||
        ::stat(QFile::encodeName(resolved.target).constData(), &info) != 0)
        return {};
    return savableKind(shownName(path), info.st_mode);
}

// The temporary file beside the target and the folder that holds both, from the moment the
// target has been checked until the file is renamed into place.
struct SafeFileStream::State {
    FileDescriptor folder;
    QByteArray name; // the target's, in the folder
    QString shown;
    std::optional<TemporaryFile> temporary;
};

SafeFileStream::SafeFileStream(std::unique_ptr<State> state)
    : state_(std::move(state)) {}

SafeFileStream::SafeFileStream(SafeFileStream&&) noexcept = default;
SafeFileStream& SafeFileStream::operator=(SafeFileStream&&) noexcept = default;
SafeFileStream::~SafeFileStream() = default;

int SafeFileStream::descriptor() const {
    return state_->temporary->file().get();
}

Result<SafeFileStream> SafeFileStream::open(const QString& path) {
    // A device, pipe, socket or folder is never replaced, wherever its links lead, nor is
    // anything a stranger's link leads to.
    auto state = std::make_unique<State>();
    state->shown = shownName(path);
    if (Result<void> target = checkSaveTarget(path); !target)
        return target.failure();
    const Resolved resolved = resolvedTarget(path);
    if (!resolved.refusal.isEmpty())
        return Failure::because(resolved.refusal);
    if (resolved.target.isEmpty())
        return systemFailure(errno);
    const QFileInfo target(resolved.target);
    state->name = QFile::encodeName(target.fileName());
    if (state->name.isEmpty())
        return systemFailure(EISDIR);

    state->folder.reset(::open(QFile::encodeName(target.absolutePath()).constData(),
                               O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!state->folder.valid())
        return Failure::because(folderFailureReason(target.absolutePath(), errno));
    const int folder = state->folder.get();

    // An existing file must be one that may be written, and keeps its permissions and owner.
    if (Result<void> kind = ordinaryFileIn(folder, state->name, state->shown); !kind)
        return kind.failure();
    struct stat existing {};
    const bool exists =
        ::fstatat(folder, state->name.constData(), &existing, AT_SYMLINK_NOFOLLOW) == 0;
    if (exists && ::faccessat(folder, state->name.constData(), W_OK, AT_EACCESS) != 0)
        return systemFailure(errno);

    const FileDescriptor& file = state->temporary.emplace(folder, state->name).file();
    if (!file.valid())
        return systemFailure(errno);
    if (exists) {
        // Owner and group first: a change of owner may clear the set-ID bits, which the mode
        // then gives back. Only root may give a file to another owner; any member of the old
        // file's group may keep it in that group, so that the group can still read it.
        if (::fchown(file.get(), existing.st_uid, existing.st_gid) != 0 &&
            ::fchown(file.get(), static_cast<uid_t>(-1), existing.st_gid) != 0) {
            // Not in that group either: the file becomes the writer's, as a new one would.
        }
        if (::fchmod(file.get(), existing.st_mode & 07777) != 0)
            return systemFailure(errno);
    }
    return SafeFileStream(std::move(state));
}

Result<void> SafeFileStream::commit(const std::atomic<bool>* cancelled) {
    State& state = *state_;
    FileDescriptor& file = state.temporary->file();
    const int folder = state.folder.get();
    if (::fsync(file.get()) != 0)
        return systemFailure(errno);
    if (Result<void> closed = file.close(); !closed)
        return closed;
    // The last moment at which the old file can still stay as it was.
    if (isCancelled(cancelled))
        return systemFailure(ECANCELED);
    // Whatever took the file's place meanwhile is not replaced either.
    if (Result<void> kind = ordinaryFileIn(folder, state.name, state.shown); !kind)
        return kind;
    if (::renameat(folder, state.temporary->name().constData(), folder, state.name.constData()) !=
        0)
        return systemFailure(errno);
    state.temporary->renamed();
    // The rename itself lasts only once the folder is on disk. File systems that cannot sync
    // a folder say so with EINVAL; they keep it another way.
    if (::fsync(folder) != 0 && errno != EINVAL)
        return systemFailure(errno);
    return {};
}

Result<void> writeFileSafely(const QString& path, QByteArrayView data,
                             const std::atomic<bool>* cancelled) {
    Result<SafeFileStream> stream = SafeFileStream::open(path);
    if (!stream)
        return stream.failure();
    if (Result<void> written = writeAll(stream->descriptor(), data, cancelled); !written)
        return written;
    return stream->commit(cancelled);
}
