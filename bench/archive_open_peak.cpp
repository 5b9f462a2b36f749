// Opens a scene file as the program does (bounded read, then decoding into the scene) and
// prints, as JSON, how much memory the process held at its peak above what it held before, and
// the processor time it took.
//   archive_open_peak [--any] FILE
// With --any a file that is refused is measured too, and the reason is part of the answer.
#include "framework/files/FileReading.h"
#include "model/KeyedUnarchiver.h"

#include <QFile>

#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

// A field of /proc/self/status in kB: VmRSS now, VmHWM the peak so far.
long statusKilobytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    const bool any = argc == 3 && std::strcmp(argv[1], "--any") == 0;
    if (argc != 2 && !any) {
        std::fprintf(stderr, "usage: archive_open_peak [--any] FILE\n");
        return 2;
    }
    const long idle = statusKilobytes("VmRSS");
    const std::clock_t start = std::clock();
    Result<QByteArray> data =
        readRegularFile(QString::fromLocal8Bit(argv[argc - 1]), maximumSceneFileSize);
    if (!data) {
        std::fprintf(stderr, "%s\n", qPrintable(data.reason()));
        return 1;
    }
    const qsizetype bytes = data->size();
    const Result<PointPairArray> result = KeyedUnarchiver::unarchiveObjectWithData(*data);
    const QString refusal = result ? QString() : result.reason();
    *data = QByteArray(); // as the document does once the scene is built
    const long peak = statusKilobytes("VmHWM");
    const double seconds = double(std::clock() - start) / CLOCKS_PER_SEC;
    if (!result && !any) {
        std::fprintf(stderr, "%s\n", qPrintable(refusal));
        return 1;
    }
    const double above = double(peak - idle) * 1024.0;
    std::printf("{\"file_bytes\": %lld, \"pairs\": %zu, \"idle_kib\": %ld, \"peak_kib\": %ld, "
                "\"peak_above_idle_bytes\": %.0f, \"times_file_size\": %.3f, "
                "\"cpu_seconds\": %.3f, \"refused\": \"%s\"}\n",
                static_cast<long long>(bytes), result ? (*result)->size() : 0, idle, peak, above,
                above / double(bytes), seconds, refusal.toUtf8().replace('"', '\'').constData());
    return 0;
}
