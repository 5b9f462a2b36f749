// Replacing files whole: what a successful write leaves on disk besides the new bytes, what is
// never replaced, whose a replaced file stays, and what a failed write leaves (the old file,
// byte for byte, and nothing else). Full and read-only disks, which need root to mount, are
// walked end to end in the application's suite.
#include "framework/SafeFileWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <grp.h>
#include <optional>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

// Failures show strings as text.
void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

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

        const Result<void> result = writeFileSafely(written, "new content");
        EXPECT_TRUE(result) << result.reason().toStdString();
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

struct Node {
    mode_t type = 0;
    dev_t device = 0;
};

Node nodeAt(const QString& path) {
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return {info.st_mode & S_IFMT, info.st_rdev};
}

// A listening-free Unix socket bound at the path; the descriptor stays open until `fd` closes.
bool makeSocket(const QString& path, int* fd) {
    *fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (*fd < 0 || name.size() >= static_cast<qsizetype>(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, name.constData(), name.size());
    return ::bind(*fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

TEST(SafeFileWriter, WhatIsNotAnOrdinaryFileIsRefusedAndStaysAsItWas) {
    struct Case {
        const char* what;
        const char* name;
        std::function<bool(const QString&)> make;
        const char* reason;
        bool needsRoot; // making device nodes does
    };
    const auto device = [](mode_t type, dev_t number) {
        return [type, number](const QString& path) {
            return ::mknod(QFile::encodeName(path).constData(), type | 0666, number) == 0;
        };
    };
    int socket = -1;
    const Case cases[] = {
        {"a copy of /dev/null", "null", device(S_IFCHR, makedev(1, 3)),
         "“null” is a device, not a file: only ordinary files are saved over", true},
        {"a block device", "disk", device(S_IFBLK, makedev(7, 0)),
         "“disk” is a device, not a file: only ordinary files are saved over", true},
        {"a named pipe", "pipe.orbalin",
         [](const QString& path) {
             return ::mkfifo(QFile::encodeName(path).constData(), 0666) == 0;
         },
         "“pipe.orbalin” is a named pipe, not a file: only ordinary files are saved over", false},
        {"a socket", "socket", [&](const QString& path) { return makeSocket(path, &socket); },
         "“socket” is a socket, not a file: only ordinary files are saved over", false},
        {"a folder", "folder.orbalin", [](const QString& path) { return QDir().mkdir(path); },
         "“folder.orbalin” is a folder, not a file: only ordinary files are saved over", false},
    };
    for (const Case& c : cases) {
        for (const bool throughLink : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.what << (throughLink ? ", through a link" : ""));
            if (c.needsRoot && ::geteuid() != 0)
                continue;
            QTemporaryDir folder;
            ASSERT_TRUE(folder.isValid());
            const QString target = folder.filePath(c.name);
            ASSERT_TRUE(c.make(target));
            QString written = target;
            QString reason = c.reason;
            if (throughLink) {
                written = folder.filePath("link");
                ASSERT_TRUE(QFile::link(target, written));
                reason.replace(QStringLiteral("“%1”").arg(c.name), QStringLiteral("“link”"));
            }
            const Node before = nodeAt(target);
            const QStringList files =
                QDir(folder.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden);

            const Result<void> checked = checkSaveTarget(written);
            EXPECT_EQ(checked ? QString() : checked.reason(), reason);
            const Result<void> result = writeFileSafely(written, "new content");
            ASSERT_FALSE(result);
            EXPECT_EQ(result.reason(), reason);
            EXPECT_EQ(nodeAt(target).type, before.type);
            EXPECT_EQ(nodeAt(target).device, before.device);
            EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden),
                      files)
                << "nothing is written beside it";
            if (socket >= 0)
                ::close(std::exchange(socket, -1));
        }
    }
}

// Runs `act` in a child process that runs as `uid`, with `gid` as its group and `groups` as its
// supplementary groups; true when it succeeded there.
bool doneAs(uid_t uid, gid_t gid, const std::vector<gid_t>& groups,
            const std::function<bool()>& act) {
    const pid_t child = ::fork();
    if (child == 0) {
        const bool dropped = ::setgroups(groups.size(), groups.data()) == 0 && ::setgid(gid) == 0 &&
                             ::setuid(uid) == 0;
        ::_exit(dropped && act() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

bool writeAs(uid_t uid, gid_t gid, const std::vector<gid_t>& groups, const QString& path) {
    return doneAs(uid, gid, groups, [&] { return writeFileSafely(path, "saved by another").ok(); });
}

TEST(SafeFileWriter, AReplacedFileKeepsItsGroupAndItsOwnerWhereTheWriterMaySetThem) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "files of other users and groups need root to set up";
    // The file's owner and group, and a saver who is neither (unless root).
    constexpr uid_t owner = 41001;
    constexpr gid_t group = 41002;
    constexpr uid_t saver = 41003;
    constexpr gid_t saversGroup = 41004;
    struct Case {
        const char* what;
        bool asRoot;
        std::vector<gid_t> saversGroups; // supplementary
        uid_t expectedOwner;
        gid_t expectedGroup;
    };
    const Case cases[] = {
        {"root keeps both", true, {}, owner, group},
        {"a member of the file's group keeps the group", false, {group}, saver, group},
        {"anyone else makes the file their own", false, {}, saver, saversGroup},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        // A shared folder that everyone may write in, not set-group-ID.
        ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 0777), 0);
        const QString file = folder.filePath("shared.orbalin");
        const QByteArray encoded = QFile::encodeName(file);
        {
            QFile old(file);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("old");
        }
        ASSERT_EQ(::chown(encoded.constData(), owner, group), 0);
        // Writable by all, so that the one saver who is not in the group may save too.
        ASSERT_EQ(::chmod(encoded.constData(), c.asRoot || !c.saversGroups.empty() ? 0660 : 0666),
                  0);

        if (c.asRoot)
            ASSERT_TRUE(writeFileSafely(file, "saved by another").ok());
        else
            ASSERT_TRUE(writeAs(saver, saversGroup, c.saversGroups, file));
        struct stat info {};
        ASSERT_EQ(::stat(encoded.constData(), &info), 0);
        EXPECT_EQ(contentOf(file), "saved by another");
        EXPECT_EQ(info.st_uid, c.expectedOwner);
        EXPECT_EQ(info.st_gid, c.expectedGroup);
        EXPECT_EQ(info.st_mode & 07777, c.asRoot || !c.saversGroups.empty() ? 0660u : 0666u)
            << "the mode stays";
    }
}

TEST(SafeFileWriter, ALinkInASharedFolderIsFollowedOnlyWhenTheWriterOrTheFolderOwnerMadeIt) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "links of other users need root to set up";
    constexpr uid_t stranger = 41005;
    constexpr uid_t folderOwner = 41006;
    struct Case {
        const char* what;
        mode_t folderMode;
        uid_t folderOwner;
        uid_t linkOwner; // the writer is root
        bool followed;
    };
    const Case cases[] = {
        {"a stranger's link in a sticky folder all may write in", 01777, 0, stranger, false},
        {"the writer's own link there", 01777, folderOwner, 0, true},
        {"the folder owner's link there", 01777, folderOwner, folderOwner, true},
        {"a stranger's link in a folder that is not sticky", 0777, 0, stranger, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir home; // private, 0700
        QTemporaryDir shared;
        ASSERT_TRUE(home.isValid() && shared.isValid());
        const QString target = home.filePath("important.txt");
        {
            QFile important(target);
            ASSERT_TRUE(important.open(QIODevice::WriteOnly));
            important.write("important");
        }
        const QByteArray folder = QFile::encodeName(shared.path());
        ASSERT_EQ(::chown(folder.constData(), c.folderOwner, c.folderOwner), 0);
        ASSERT_EQ(::chmod(folder.constData(), c.folderMode), 0);
        const QString link = shared.filePath("thumb.png");
        ASSERT_TRUE(
            doneAs(c.linkOwner, c.linkOwner, {}, [&] { return QFile::link(target, link); }));

        const QString refusal =
            c.followed ? QString()
                       : "“thumb.png” is a link that another user made in a shared folder: it is "
                         "not followed";
        const Result<void> checked = checkSaveTarget(link);
        EXPECT_EQ(checked ? QString() : checked.reason(), refusal);
        const Result<void> result = writeFileSafely(link, "picture");
        EXPECT_EQ(result.ok(), c.followed);
        EXPECT_EQ(result ? QString() : result.reason(), refusal);
        EXPECT_EQ(contentOf(target), c.followed ? "picture" : "important");
        EXPECT_TRUE(S_ISLNK(modeOf(link)));
    }
}

// Runs `write` in a child process of its own, so that a limit or a user it takes stays there;
// returns the reason the write gave ("" when it wrote).
std::optional<QString> inChildProcess(const std::function<Result<void>()>& write) {
    int channel[2];
    if (::pipe(channel) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        const Result<void> result = write();
        const QByteArray answer = result ? QByteArray() : result.reason().toUtf8();
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

        const std::optional<QString> answer = inChildProcess([&]() -> Result<void> {
            if (!becomeTheWriter())
                return Failure::because("cannot become another user");
            // Past the limit a write fails with EFBIG, once the signal is ignored.
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{c.fileSizeLimit, c.fileSizeLimit};
            if (c.fileSizeLimit != RLIM_INFINITY && ::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                return Failure::because("cannot limit the file size");
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
