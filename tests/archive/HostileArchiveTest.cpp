// Crafted files that cost far more to read than their size, and what stops them: each is either
// read in work proportional to its size (counted, not timed) or refused with the limit it
// passes. Also cancelling a read or a write half-way, and running out of memory.
#include "model/KeyedArchiver.h"
#include "model/KeyedUnarchiver.h"
#include "model/plist/XmlPlist.h"
#include "support/PlistDocument.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

using plist::Document;
using plist::Ref;
using plist::Value;

namespace {

Ref dictionary(Document& document, const std::vector<std::pair<QString, Ref>>& entries) {
    Value value = Value::makeDictionary();
    for (const auto& [key, item] : entries) {
        value.keys.push_back(key);
        value.items.push_back(item);
    }
    return document.add(value);
}

// A point at (1, 0, 0), in transparent black.
Ref pointDictionary(Document& document) {
    return dictionary(document, {{"$class", document.add(Value::makeUid(4))},
                                 {glpwcXKey, document.add(Value::makeReal(1))}});
}

// A keyed archive of a scene whose "$objects" are: 0 "$null", 1 the array, 2-4 the classes
// NSArray, GLPointPair and GLPointWithColor, 5 `point`, then `more`. The array holds
// `elements`.
QByteArray scene(Document& document, const std::vector<Ref>& elements, const std::vector<Ref>& more,
                 Ref point) {
    auto uid = [&](std::uint64_t n) { return document.add(Value::makeUid(n)); };
    auto klass = [&](const char* name) {
        return dictionary(document, {{"$classname", document.add(Value::makeString(name))}});
    };
    std::vector<Ref> objects{
        document.add(Value::makeString("$null")),
        dictionary(document,
                   {{"$class", uid(2)}, {"NS.objects", document.add(Value::makeArray(elements))}}),
        klass("NSArray"),
        klass("GLPointPair"),
        klass("GLPointWithColor"),
        point,
    };
    objects.insert(objects.end(), more.begin(), more.end());
    const Ref top = dictionary(document, {{"root", uid(1)}});
    document.root =
        dictionary(document, {{"$archiver", document.add(Value::makeString("NSKeyedArchiver"))},
                              {"$version", document.add(Value::makeInteger(100000))},
                              {"$top", top},
                              {"$objects", document.add(Value::makeArray(objects))}});
    return plist::writeBinary(document);
}

// A pair of the point at UID 5 with itself, carrying `extra` entries of no use.
Ref pairDictionary(Document& document, int extra) {
    std::vector<std::pair<QString, Ref>> entries{{"$class", document.add(Value::makeUid(3))},
                                                 {glppPoint1Key, document.add(Value::makeUid(5))},
                                                 {glppPoint2Key, document.add(Value::makeUid(5))}};
    const Ref filler = document.add(Value::makeString("x"));
    for (int i = 0; i < extra; ++i)
        entries.emplace_back(QStringLiteral("k%1").arg(i), filler);
    return dictionary(document, entries);
}

// Many distinct UIDs, all naming one stored pair dictionary with many entries.
QByteArray manyNamesOfOneLargePair(int names, int extra) {
    Document document;
    const Ref pair = pairDictionary(document, extra);
    std::vector<Ref> elements;
    for (int i = 0; i < names; ++i)
        elements.push_back(document.add(Value::makeUid(6 + std::uint64_t(i))));
    return scene(document, elements, std::vector<Ref>(std::size_t(names), pair),
                 pointDictionary(document));
}

// One pair named over and over by the array, through references of one byte each.
QByteArray onePairNamed(std::size_t times) {
    Document document;
    const Ref pair = pairDictionary(document, 0);
    return scene(document, std::vector<Ref>(times, document.add(Value::makeUid(6))), {pair},
                 pointDictionary(document));
}

QByteArray repeated(const char* head, const char* part, std::size_t times, const char* tail) {
    QByteArray out(head);
    out.reserve(out.size() + qsizetype(std::strlen(part) * times + std::strlen(tail)));
    for (std::size_t i = 0; i < times; ++i)
        out += part;
    return out + tail;
}

QString limit(const char* phrase, std::size_t number) {
    return QString::fromUtf8(phrase).arg(number);
}

TEST(HostileArchive, EachCraftedShapeIsReadInLinearWorkOrRefusedAtItsLimit) {
    const QString notAnArchive =
        QStringLiteral("the file is not a scene: it is a property list, but not a keyed archive");
    const struct {
        const char* name;
        QByteArray data;
        std::size_t pairs; // read as a scene of this many pairs, or refused with:
        QString error;
    } cases[] = {
        {"many names of one large pair dictionary", manyNamesOfOneLargePair(3000, 3000), 3000, {}},
        {"one pair named as often as a scene may hold",
         onePairNamed(maximumScenePairs),
         maximumScenePairs,
         {}},
        {"one pair named once too often", onePairNamed(maximumScenePairs + 1), 0,
         limit("the file holds more than %L1 pairs, the most Orbalin opens", maximumScenePairs)},
        {"XML arrays never closed", repeated("<plist>", "<array>", 200000, ""), 0,
         limit("the file nests values more than %L1 deep, the most Orbalin reads (line 1)",
               plist::maximumXmlDepth)},
        {"XML arrays nested as deep as allowed",
         repeated("<plist>", "<array>", plist::maximumXmlDepth, "") +
             repeated("", "</array>", plist::maximumXmlDepth, "</plist>"),
         0, notAnArchive},
        {"a flat XML array of booleans",
         repeated("<plist><array>", "<true/>", 200000, "</array></plist>"), 0, notAnArchive},
        {"an XML element with many attributes",
         repeated("<plist version=\"1.0\"", " a=\"\"", plist::maximumXmlAttributes,
                  "><array/></plist>"),
         0,
         limit("the file has an element with more than %L1 attributes, the most Orbalin reads "
               "(line 1)",
               plist::maximumXmlAttributes)},
        {"an XML DTD that gives elements attributes",
         "<!DOCTYPE plist [<!ATTLIST array a CDATA \"x\">]><plist><array/></plist>", 0,
         QStringLiteral("the file is damaged and cannot be read (XML property list, line 1: the "
                        "document declares a DTD of its own)")},
        {"one very long XML string",
         repeated("<plist><string>", "x", plist::maximumXmlText + 1, "</string></plist>"), 0,
         limit("the file holds a value of more than %L1 characters, the most Orbalin reads (line "
               "1)",
               plist::maximumXmlText)},
        {"one very long XML comment",
         repeated("<plist><!--", "x", plist::maximumXmlText + 2000, "--><true/></plist>"), 0,
         limit("the file holds a stretch of XML text or markup of more than %L1 characters, the "
               "most Orbalin reads (line 1)",
               plist::maximumXmlText + 1024)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BackgroundTask task;
        const Result<PointPairArray> result =
            KeyedUnarchiver::unarchiveObjectWithData(c.data, &task);
        const std::uint64_t steps = task.steps();
        EXPECT_EQ(result ? QString() : result.reason(), c.error);
        EXPECT_EQ(result ? (*result)->size() : 0u, c.pairs);
        // Each object, entry and reference is looked at a bounded number of times.
        EXPECT_GE(steps, c.pairs);
        EXPECT_LE(steps, 2 * std::uint64_t(c.data.size()));
    }
}

TEST(HostileArchive, UidsThatNameOneStoredDictionaryStayDifferentObjects) {
    // A writer that stores equal objects once may give both points of a pair, or two pairs,
    // one dictionary: they are still two objects, and recolouring one leaves the other.
    Document document;
    const Ref point = pointDictionary(document);
    std::vector<std::pair<QString, Ref>> entries{{"$class", document.add(Value::makeUid(3))},
                                                 {glppPoint1Key, document.add(Value::makeUid(5))},
                                                 {glppPoint2Key, document.add(Value::makeUid(8))}};
    const Ref pair = dictionary(document, entries);
    const std::vector<Ref> elements{document.add(Value::makeUid(6)),
                                    document.add(Value::makeUid(7))};
    const Result<PointPairArray> result = KeyedUnarchiver::unarchiveObjectWithData(
        scene(document, elements, {pair, pair, point}, point));
    ASSERT_TRUE(result) << result.reason().toStdString();
    const PointPairs& pairs = **result;
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_NE(pairs[0], pairs[1]);
    EXPECT_NE(pairs[0]->point1(), pairs[0]->point2());
    EXPECT_EQ(pairs[0]->point1(), pairs[1]->point1()) << "one UID, one object";
    EXPECT_EQ(pairs[0]->point1()->alpha(), 0.0) << "the first point keeps its stored colour";
    EXPECT_EQ(pairs[0]->point2()->x(), 1.0);
}

TEST(HostileArchive, XmlValuesThatCarryNothingAreSharedNotStored) {
    const QByteArray xml = repeated("<plist><array>", "<true/><false/><string/><dict/><array/>",
                                    20000, "</array></plist>");
    plist::ReadProblem problem;
    const std::unique_ptr<plist::ObjectSource> source = plist::openXml(xml, &problem);
    ASSERT_TRUE(source) << problem.detail.toStdString();
    EXPECT_EQ(source->count(), 6u); // five shared values and the array
    std::optional<Value> root = plist::copied(*source, source->root());
    ASSERT_TRUE(root);
    EXPECT_EQ(root->items.size(), 100000u);
}

PointPairs largeScene(std::size_t count) {
    PointPairs pairs;
    for (std::size_t i = 0; i < count; ++i)
        pairs.push_back(GLPointPair::randomPointPair());
    return pairs;
}

TEST(HostileArchive, ReadingAndWritingStopWhenCancelledAndReportTheirProgress) {
    const PointPairs pairs = largeScene(50000);
    const QByteArray data = KeyedArchiver::archivedDataWithRootObject(pairs);
    struct Outcome {
        bool cancelled;
        bool whole; // the scene read back whole, or the very archive written
    };
    const struct {
        const char* name;
        std::function<Outcome(BackgroundTask*)> run;
    } cases[] = {
        {"reading",
         [&](BackgroundTask* task) {
             const Result<PointPairArray> result =
                 KeyedUnarchiver::unarchiveObjectWithData(data, task);
             EXPECT_TRUE(result || result.cancelled());
             return Outcome{result.cancelled(), result && (*result)->size() == pairs.size()};
         }},
        {"writing",
         [&](BackgroundTask* task) {
             const Result<QByteArray> result = KeyedArchiver::archive(pairs, task);
             EXPECT_TRUE(result || result.cancelled());
             return Outcome{result.cancelled(), result && *result == data};
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const double cancelAt : {0.25, 2.0}) {
            BackgroundTask task;
            std::vector<double> reported;
            task.watchProgress([&](double fraction) {
                reported.push_back(fraction);
                if (fraction >= cancelAt)
                    task.cancel();
            });
            const Outcome outcome = c.run(&task);
            EXPECT_EQ(outcome.cancelled, cancelAt < 1.0);
            EXPECT_EQ(outcome.whole, cancelAt > 1.0);
            EXPECT_GE(reported.size(), 3u);
            EXPECT_TRUE(std::is_sorted(reported.begin(), reported.end()));
            if (cancelAt < 1.0)
                EXPECT_LT(reported.back(), cancelAt + 0.1) << "it went on after the cancel";
            else
                EXPECT_GT(reported.back(), 0.9);
        }
    }
}

// Runs `job` with the address space held to what the process uses now plus `headroom`, and
// ends the process with the job's answer on standard error. Large blocks are mapped afresh, so
// that freed heap cannot serve them.
[[noreturn]] void underMemoryLimit(std::size_t headroom, const std::function<std::string()>& job) {
    mallopt(M_MMAP_THRESHOLD, 64 * 1024);
    long pages = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld", &pages) != 1)
            pages = 0;
        std::fclose(statm);
    }
    const rlim_t used = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE));
    const rlimit limit{used + headroom, used + headroom};
    setrlimit(RLIMIT_AS, &limit);
    const std::string answer = job();
    std::fprintf(stderr, "%s\n", answer.c_str());
    _exit(0);
}

TEST(HostileArchive, RunningOutOfMemoryRefusesTheFileInsteadOfEndingTheProgram) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than any limit allows";
#endif
    // Each job runs in a fresh process, whose heap holds no block freed by other tests.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // Reading one pair named a million times needs 16 MB for the scene's array; writing it
    // back needs 8 MB for its references.
    const QByteArray data = onePairNamed(maximumScenePairs);
    const Result<PointPairArray> read = KeyedUnarchiver::unarchiveObjectWithData(data);
    ASSERT_TRUE(read);
    const PointPairArray scene = *read;
    auto reasonOf = [](const auto& result) {
        return result ? std::string("done") : result.reason().toStdString();
    };
    EXPECT_EXIT(
        underMemoryLimit(4 << 20,
                         [&] { return reasonOf(KeyedUnarchiver::unarchiveObjectWithData(data)); }),
        testing::ExitedWithCode(0), "^there is not enough memory to open the file\n");
    EXPECT_EXIT(underMemoryLimit(1 << 20, [&] { return reasonOf(KeyedArchiver::archive(*scene)); }),
                testing::ExitedWithCode(0), "^there is not enough memory to save the scene\n");
}

} // namespace
