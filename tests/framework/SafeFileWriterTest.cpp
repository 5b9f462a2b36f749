// Replacing files whole: what a successful write leaves on disk besides the new bytes.
// (Failed writes, on full and read-only disks, are walked end to end in the application's suite.)
#include "framework/SafeFileWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

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

} // namespace
