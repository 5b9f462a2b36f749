#include "model/KeyedArchiver.h"
#include "model/KeyedUnarchiver.h"
#include "model/Random.h"
#include "support/PlistDocument.h"
#include "support/SceneComparison.h"

#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <map>

using plist::Ref;
using plist::Value;

namespace {

using Values = std::map<QString, double>;

Values pointValues(double x, double y, double z, double red, double green, double blue,
                   double alpha) {
    return {{glpwcXKey, x},         {glpwcYKey, y},       {glpwcZKey, z},        {glpwcRedKey, red},
            {glpwcGreenKey, green}, {glpwcBlueKey, blue}, {glpwcAlphaKey, alpha}};
}

// Writes archives of one-pair scenes the way another keyed archiver would, with any values.
QByteArray onePairArchive(const Values& first, const Values& second) {
    plist::Document document;
    std::vector<Ref> objects{document.add(Value::makeString(QStringLiteral("$null")))};
    auto uid = [&](std::uint64_t n) { return document.add(Value::makeUid(n)); };
    auto klass = [&](const QString& name) {
        Value value = Value::makeDictionary();
        value.keys = {QStringLiteral("$classname"), QStringLiteral("$classes")};
        value.items = {
            document.add(Value::makeString(name)),
            document.add(Value::makeArray({document.add(Value::makeString(name)),
                                           document.add(Value::makeString("NSObject"))}))};
        objects.push_back(document.add(value));
        return objects.size() - 1;
    };
    auto point = [&](const Values& values, std::uint64_t classUid) {
        Value value = Value::makeDictionary();
        value.keys.push_back(QStringLiteral("$class"));
        value.items.push_back(uid(classUid));
        for (const auto& [key, number] : values) {
            value.keys.push_back(key);
            value.items.push_back(document.add(Value::makeReal(number)));
        }
        objects.push_back(document.add(value));
        return objects.size() - 1;
    };
    const std::uint64_t pointClass = klass(QStringLiteral("GLPointWithColor"));
    const std::uint64_t pairClass = klass(QStringLiteral("GLPointPair"));
    const std::uint64_t arrayClass = klass(QStringLiteral("NSArray"));
    const std::uint64_t p1 = point(first, pointClass);
    const std::uint64_t p2 = point(second, pointClass);
    Value pair = Value::makeDictionary();
    pair.keys = {QStringLiteral("$class"), glppPoint1Key, glppPoint2Key};
    pair.items = {uid(pairClass), uid(p1), uid(p2)};
    objects.push_back(document.add(pair));
    Value array = Value::makeDictionary();
    array.keys = {QStringLiteral("$class"), QStringLiteral("NS.objects")};
    array.items = {uid(arrayClass), document.add(Value::makeArray({uid(objects.size() - 1)}))};
    objects.push_back(document.add(array));
    Value top = Value::makeDictionary();
    top.keys = {QStringLiteral("root")};
    top.items = {uid(objects.size() - 1)};
    Value archive = Value::makeDictionary();
    archive.keys = {QStringLiteral("$archiver"), QStringLiteral("$version"), QStringLiteral("$top"),
                    QStringLiteral("$objects")};
    archive.items = {document.add(Value::makeString(QStringLiteral("NSKeyedArchiver"))),
                     document.add(Value::makeInteger(100000)), document.add(top),
                     document.add(Value::makeArray(objects))};
    document.root = document.add(archive);
    return plist::writeBinary(document);
}

PointPairs randomScene(std::uint32_t seed, int count) {
    seedRandom(seed);
    PointPairs pairs;
    for (int i = 0; i < count; ++i)
        pairs.push_back(GLPointPair::randomPointPair());
    return pairs;
}

PointPairArray readScene(const QByteArray& data) {
    Result<PointPairArray> result = KeyedUnarchiver::unarchiveObjectWithData(data);
    EXPECT_TRUE(result) << result.reason().toStdString();
    return result ? *result : std::make_shared<const PointPairs>();
}

} // namespace

TEST(SceneArchive, RandomScenesReadBackTheSame) {
    for (int count : {0, 1, 10, 50}) {
        SCOPED_TRACE(count);
        const PointPairs written = randomScene(1000u + count, count);
        const PointPairArray read = readScene(KeyedArchiver::archivedDataWithRootObject(written));
        expectSameScene(*read, written);
    }
}

TEST(SceneArchive, WritingIsDeterministicAndStableThroughARoundTrip) {
    const PointPairs written = randomScene(77, 20);
    const QByteArray data = KeyedArchiver::archivedDataWithRootObject(written);
    EXPECT_EQ(KeyedArchiver::archivedDataWithRootObject(*readScene(data)), data);
}

TEST(SceneArchive, SecondPointIsRecolouredToTheComplementOfTheFirst) {
    const PointPairArray scene = readScene(onePairArchive(
        pointValues(10, 20, 30, 0.1, 0.6, 0.3, 0.8), pointValues(-1, -2, -3, 0.9, 0.9, 0.9, 1)));
    ASSERT_EQ(scene->size(), 1u);
    const GLPointWithColor& first = *(*scene)[0]->point1();
    const GLPointWithColor& second = *(*scene)[0]->point2();
    // The double keeps the stored value; the colour object holds it as a float.
    EXPECT_EQ(first.red(), 0.1);
    EXPECT_EQ(second.x(), -1.0);
    // Whatever it was stored with, the second point takes the complement of the first (the
    // complement itself is the point pair's to work out).
    EXPECT_EQ(second.color(), GLPointPair::complementaryColorForColor(first.color()));
}

TEST(SceneArchive, MissingNumbersReadAsZero) {
    Values first = pointValues(1, 2, 3, 1, 0, 0, 1);
    first.erase(glpwcAlphaKey);
    const PointPairArray scene = readScene(onePairArchive(first, {}));
    ASSERT_EQ(scene->size(), 1u);
    const GLPointWithColor& point1 = *(*scene)[0]->point1();
    const GLPointWithColor& point2 = *(*scene)[0]->point2();
    EXPECT_EQ(point1.alpha(), 0.0);
    EXPECT_EQ(point1.color(), Color::colorWithCalibratedRed(1, 0, 0, 0));
    EXPECT_EQ(point2.x(), 0.0);
    EXPECT_EQ(point2.y(), 0.0);
    EXPECT_EQ(point2.z(), 0.0);
    EXPECT_EQ(point2.alpha(), 0.0); // the complement of a transparent colour
}

TEST(SceneArchive, SharedObjectsAreDecodedOnce) {
    auto pair = GLPointPair::randomPointPair();
    auto shared = pair->point2();
    auto other = std::make_shared<GLPointPair>(shared, GLPointWithColor::pointWithX(1, 2, 3));
    const PointPairArray read =
        readScene(KeyedArchiver::archivedDataWithRootObject({pair, other, pair}));
    ASSERT_EQ(read->size(), 3u);
    EXPECT_EQ((*read)[0], (*read)[2]);
    EXPECT_EQ((*read)[0]->point2(), (*read)[1]->point1());
    EXPECT_NE((*read)[0], (*read)[1]);
}

TEST(SceneArchive, PairsWithAMissingPointAreNeitherWrittenSilentlyNorRead) {
    auto half = std::make_shared<GLPointPair>();
    half->setPoint1(GLPointWithColor::pointWithX(1, 2, 3));
    const Result<PointPairArray> result = KeyedUnarchiver::unarchiveObjectWithData(
        KeyedArchiver::archivedDataWithRootObject({GLPointPair::randomPointPair(), half}));
    ASSERT_FALSE(result);
    EXPECT_EQ(result.reason(), "the file is damaged: pair 2 has no second point");
}

TEST(SceneArchive, ReadsTheSameUnderALocaleWithDecimalCommas) {
    const QByteArray xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
<key>$archiver</key><string>NSKeyedArchiver</string>
<key>$version</key><integer>100000</integer>
<key>$top</key><dict><key>root</key><dict><key>CF$UID</key><integer>1</integer></dict></dict>
<key>$objects</key><array>
  <string>$null</string>
  <dict><key>$class</key><dict><key>CF$UID</key><integer>6</integer></dict>
    <key>NS.objects</key><array><dict><key>CF$UID</key><integer>2</integer></dict></array></dict>
  <dict><key>$class</key><dict><key>CF$UID</key><integer>5</integer></dict>
    <key>glppPoint1Key</key><dict><key>CF$UID</key><integer>3</integer></dict>
    <key>glppPoint2Key</key><dict><key>CF$UID</key><integer>7</integer></dict></dict>
  <dict><key>$class</key><dict><key>CF$UID</key><integer>4</integer></dict>
    <key>glpwcXKey</key><real>0.75</real><key>glpwcYKey</key><real>-12.5</real>
    <key>glpwcZKey</key><real>1e2</real><key>glpwcRedKey</key><real>0.25</real>
    <key>glpwcAlphaKey</key><real>1</real></dict>
  <dict><key>$classname</key><string>GLPointWithColor</string></dict>
  <dict><key>$classname</key><string>GLPointPair</string></dict>
  <dict><key>$classname</key><string>NSArray</string></dict>
  <dict><key>$class</key><dict><key>CF$UID</key><integer>4</integer></dict>
    <key>glpwcXKey</key><real>-0.5</real></dict>
</array></dict></plist>)";
    const PointPairs written = randomScene(5, 10);

    const std::string previous = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "the de_DE.UTF-8 locale is missing; ./test.sh installs it";
    const std::locale previousGlobal = std::locale::global(std::locale("de_DE.UTF-8"));
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%.2f", 0.75);
    const std::string formatted = buffer;
    const PointPairArray scene = readScene(xml);
    const QByteArray data = KeyedArchiver::archivedDataWithRootObject(written);
    const PointPairArray roundTrip = readScene(data);
    std::locale::global(previousGlobal);
    std::setlocale(LC_ALL, previous.c_str());

    EXPECT_EQ(formatted, "0,75"); // the locale really is in force
    ASSERT_EQ(scene->size(), 1u);
    const GLPointWithColor& point = *(*scene)[0]->point1();
    EXPECT_EQ(point.x(), 0.75);
    EXPECT_EQ(point.y(), -12.5);
    EXPECT_EQ(point.z(), 100.0);
    EXPECT_EQ(point.red(), 0.25);
    expectSameScene(*roundTrip, written);
    EXPECT_EQ(data, KeyedArchiver::archivedDataWithRootObject(written));
}
