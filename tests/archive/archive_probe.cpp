// Command-line access to the scene archiver for the peer checks in peer_check.py:
//   archive_probe read FILE      prints the scene as JSON, or {"error": "..."}
//   archive_probe write FILE     reads pairs from stdin, one per line as fourteen numbers
//                                (first point x y z red green blue alpha, then the second's),
//                                builds them as a scene does, writes FILE and prints the scene
//   archive_probe random SEED N FILE   writes N random pairs
#include "model/GLPointPair.h"
#include "model/KeyedArchiver.h"
#include "model/KeyedUnarchiver.h"
#include "model/Random.h"

#include <QFile>

#include <cstdio>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

namespace {

void printScene(const PointPairs& pairs) {
    // Each point gets the number of its first appearance, so shared points show up.
    std::map<const GLPointWithColor*, int> ids;
    std::printf("{\"pairs\": [");
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        std::printf("%s[", i ? ", " : "");
        const GLPointWithColor* points[] = {pairs[i]->point1().get(), pairs[i]->point2().get()};
        for (int p = 0; p < 2; ++p) {
            const GLPointWithColor& point = *points[p];
            const int id = ids.emplace(&point, static_cast<int>(ids.size())).first->second;
            double dx = 0, dy = 0, dz = 0;
            point.getDx(&dx, &dy, &dz);
            float r = 0, g = 0, b = 0, a = 0;
            point.color().getRed(&r, &g, &b, &a);
            std::printf("%s{\"id\": %d, \"xyz\": [%.17g, %.17g, %.17g], \"rgba\": [%.17g, %.17g, "
                        "%.17g, %.17g], \"color\": [%.9g, %.9g, %.9g, %.9g], \"d\": [%.17g, "
                        "%.17g, %.17g]}",
                        p ? ", " : "", id, point.x(), point.y(), point.z(), point.red(),
                        point.green(), point.blue(), point.alpha(), double(r), double(g), double(b),
                        double(a), dx, dy, dz);
        }
        std::printf("]");
    }
    std::printf("]}\n");
}

bool save(const PointPairs& pairs, const char* path) {
    QFile file(QString::fromLocal8Bit(path));
    return file.open(QIODevice::WriteOnly) &&
           file.write(KeyedArchiver::archivedDataWithRootObject(pairs)) >= 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "read" && argc == 3) {
        QFile file(QString::fromLocal8Bit(argv[2]));
        if (!file.open(QIODevice::ReadOnly))
            return 2;
        const Result<PointPairArray> result =
            KeyedUnarchiver::unarchiveObjectWithData(file.readAll());
        if (result) {
            printScene(**result);
        } else {
            // The reason as the window says it: a sentence.
            QString escaped = result.reason();
            escaped[0] = escaped[0].toUpper();
            escaped += u'.';
            escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
                .replace(QLatin1Char('"'), QLatin1String("\\\""));
            std::printf("{\"error\": \"%s\"}\n", escaped.toUtf8().constData());
        }
        return 0;
    }
    if (command == "write" && argc == 3) {
        PointPairs pairs;
        std::string line;
        while (std::getline(std::cin, line)) {
            std::istringstream in(line);
            double v[14];
            int n = 0;
            while (n < 14 && in >> v[n])
                ++n;
            if (n == 0)
                continue;
            if (n != 14)
                return 2;
            pairs.push_back(std::make_shared<GLPointPair>(
                GLPointWithColor::pointWithX(v[0], v[1], v[2], v[3], v[4], v[5], v[6]),
                GLPointWithColor::pointWithX(v[7], v[8], v[9], v[10], v[11], v[12], v[13])));
        }
        if (!save(pairs, argv[2]))
            return 2;
        printScene(pairs);
        return 0;
    }
    if (command == "random" && argc == 5) {
        seedRandom(static_cast<unsigned>(std::stoul(argv[2])));
        PointPairs pairs;
        for (int i = 0, n = std::stoi(argv[3]); i < n; ++i)
            pairs.push_back(GLPointPair::randomPointPair());
        if (!save(pairs, argv[4]))
            return 2;
        printScene(pairs);
        return 0;
    }
    std::fprintf(stderr, "usage: archive_probe read FILE | write FILE | random SEED N FILE\n");
    return 2;
}
