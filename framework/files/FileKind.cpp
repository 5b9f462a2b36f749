#include "framework/files/FileKind.h"

#include <QCoreApplication>

#include <sys/stat.h>

namespace {

struct FileKind {
    Q_DECLARE_TR_FUNCTIONS(FileKind)
};

enum class Kind { File, Folder, Device, Pipe, Socket, Other };

Kind kindOf(mode_t mode) {
    if (S_ISREG(mode))
        return Kind::File;
    if (S_ISDIR(mode))
        return Kind::Folder;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return Kind::Device;
    if (S_ISFIFO(mode))
        return Kind::Pipe;
    if (S_ISSOCK(mode))
        return Kind::Socket;
    return Kind::Other;
}

} // namespace

Result<void> readableKind(mode_t mode) {
    switch (kindOf(mode)) {
    case Kind::File:
        return {};
    case Kind::Folder:
        return Failure::because(FileKind::tr("it is a folder, not a file"));
    case Kind::Device:
        return Failure::because(FileKind::tr("it is a device, not a file"));
    case Kind::Pipe:
        return Failure::because(FileKind::tr("it is a named pipe, not a file"));
    case Kind::Socket:
        return Failure::because(FileKind::tr("it is a socket, not a file"));
    case Kind::Other:
        break;
    }
    return Failure::because(FileKind::tr("it is not a regular file"));
}

Result<void> savableKind(const QString& name, mode_t mode) {
    switch (kindOf(mode)) {
    case Kind::File:
        return {};
    case Kind::Folder:
        return Failure::because(
            FileKind::tr("“%1” is a folder, not a file: only ordinary files are saved over")
                .arg(name));
    case Kind::Device:
        return Failure::because(
            FileKind::tr("“%1” is a device, not a file: only ordinary files are saved over")
                .arg(name));
    case Kind::Pipe:
        return Failure::because(
            FileKind::tr("“%1” is a named pipe, not a file: only ordinary files are saved over")
                .arg(name));
    case Kind::Socket:
        return Failure::because(
            FileKind::tr("“%1” is a socket, not a file: only ordinary files are saved over")
                .arg(name));
    case Kind::Other:
        break;
    }
    return Failure::because(
        FileKind::tr("“%1” is not a file: only ordinary files are saved over").arg(name));
}
