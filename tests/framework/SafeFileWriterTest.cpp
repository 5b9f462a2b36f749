// Replacing files whole: what a successful write leaves on disk besides the new bytes, and what
// a failed one leaves (the old file, byte for byte, and nothing else). Full and read-only disks,
// which need root to mount, are walked end to end in the application's suite.
#include "framework/SafeFileWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <functional>
#include <grp.h>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

mode_t modeOf(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode : 0;
}

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

TEST(SafeFileWriter, ANewFileOrAReplacedOneKeepsWhatItWas) {
    const mode_t umask = ::umask(0);
    ::umask(umask);
    struct Case {
        const char* what;
        const char* existing; // content before, or null for no file
        mode_t mode;          // of the existing file
        bool throughLink;     // written through a symbolic link to it
        mode_t expectedMode;
    };
    const Case cases[] = {
        {"a new file gets the usual permissions", nullptr, 0, false, 0666 & ~umask},
        {"a private file stays private", "old", 0600, false, 0600},
        {"a shared file stays shared", "old", 0664, false, 0664},
        {"a link stays a link to the file it names", "old", 0640, true, 0640},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        const QString file = folder.filePath("scene.orbalin");
        if (c.existing) {
            QFile old(file);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write(c.existing);
            old.close();
            ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), c.mode), 0);
        }
        QString written = file;
        if (c.throughLink) {
            written = folder.filePath("link.orbalin");
            ASSERT_TRUE(QFile::link(file, written));
        }

        const FileWriteResult result = writeFileSafely(written, "new content");
        EXPECT_TRUE(result.written) << result.reason.toStdString();
        EXPECT_TRUE(result.reason.isEmpty());
        EXPECT_EQ(contentOf(file), "new content");
        EXPECT_EQ(modeOf(file) & 07777, c.expectedMode);
        EXPECT_EQ(S_ISLNK(modeOf(written)), c.throughLink);
        const QStringList expected = c.throughLink ? QStringList{"link.orbalin", "scene.orbalin"}
                                                   : QStringList{"scene.orbalin"};
        EXPECT_EQ(
            QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name),
            expected)
            << "no temporary file is left";
    }
}

// Runs `write` in a child process of its own, so that a limit or a user it takes stays there;
// returns the reason the write gave ("" when it wrote).
std::optional<QString> inChildProcess(const std::function<FileWriteResult()>& write) {
    int channel[2];
    if (::pipe(channel) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        const FileWriteResult result = write();
        const QByteArray answer = result.written ? QByteArray() : result.reason.toUtf8();
        const bool sent = ::write(channel[1], answer.constData(), answer.size()) == answer.size();
        ::_exit(sent ? 0 : 1);
    }
    ::close(channel[1]);
    QByteArray answer;
    char buffer[256];
    for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) != 0;) {
        if (got > 0)
            answer.append(buffer, got);
        else if (errno != EINTR)
            break;
    }
    ::close(channel[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return std::nullopt;
    return QString::fromUtf8(answer);
}

// Root may write anything: run as root, the writes are made as "nobody", who owns the files.
constexpr uid_t nobody = 65534;
bool ownedByTheWriter(const QString& path) {
    return ::geteuid() != 0 || ::chown(QFile::encodeName(path).constData(), nobody, nobody) == 0;
}
bool becomeTheWriter() {
    return ::geteuid() != 0 ||
           (::setgroups(0, nullptr) == 0 && ::setgid(nobody) == 0 && ::setuid(nobody) == 0);
}

TEST(SafeFileWriter, AFailedWriteLeavesTheOldFileAndNothingElse) {
    struct Case {
        const char* what;
        const char* existing; // the old content, or null for no old file
        mode_t fileMode;      // of the old file
        mode_t folderMode;    // of its folder
        rlim_t fileSizeLimit; // RLIM_INFINITY: none
        bool cancelled;       // the cancel flag is set before the write starts
        const char* reason;   // as the write gives it
    };
    const Case cases[] = {
        {"the process may write no file that large", "old", 0644, 0755, 4096, false,
         "File too large"},
        {"a new file in a read-only folder", nullptr, 0, 0555, RLIM_INFINITY, false,
         "Permission denied"},
        {"an old file in a read-only folder", "old", 0644, 0555, RLIM_INFINITY, false,
         "Permission denied"},
        {"a read-only file", "old", 0444, 0755, RLIM_INFINITY, false, "Permission denied"},
        {"cancelled", "old", 0644, 0755, RLIM_INFINITY, true, "Operation canceled"},
        {"cancelled, no old file", nullptr, 0, 0755, RLIM_INFINITY, true, "Operation canceled"},
    };
    const QByteArray data(64 * 1024, 'n'); // more than the size limit
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir top;
        ASSERT_TRUE(top.isValid());
        ASSERT_EQ(::chmod(QFile::encodeName(top.path()).constData(), 0755), 0);
        const QString folder = top.filePath("folder");
        ASSERT_TRUE(QDir().mkdir(folder));
        ASSERT_TRUE(ownedByTheWriter(folder));
        const QString file = folder + "/scene.orbalin";
        if (c.existing) {
            QFile old(file);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write(c.existing);
            old.close();
            ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), c.fileMode), 0);
            ASSERT_TRUE(ownedByTheWriter(file));
        }
        ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), c.folderMode), 0);

        const std::optional<QString> answer = inChildProcess([&] {
            if (!becomeTheWriter())
                return FileWriteResult{false, "cannot become another user"};
            // Past the limit a write fails with EFBIG, once the signal is ignored.
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{c.fileSizeLimit, c.fileSizeLimit};
            if (c.fileSizeLimit != RLIM_INFINITY && ::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                return FileWriteResult{false, "cannot limit the file size"};
            const std::atomic<bool> cancelled{c.cancelled};
            return writeFileSafely(file, data, &cancelled);
        });
        ASSERT_TRUE(answer.has_value()) << "the child process failed";
        EXPECT_EQ(answer->toStdString(), c.reason);
        ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0755), 0);
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System),
                  c.existing ? QStringList{"scene.orbalin"} : QStringList{})
            << "no temporary file is left";
        if (c.existing) {
            EXPECT_EQ(contentOf(file), c.existing);
            EXPECT_EQ(modeOf(file) & 07777, c.fileMode);
        }
    }
}

} // namespace
