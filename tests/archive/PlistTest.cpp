#include "model/KeyedArchiver.h"
#include "model/KeyedUnarchiver.h"
#include "model/plist/XmlPlist.h"
#include "support/PlistDocument.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using plist::Ref;
using plist::Type;
using plist::Value;

namespace {

// A binary property list assembled from raw objects, for damage no writer would produce.
QByteArray assemble(const std::vector<QByteArray>& objects, unsigned refSize, std::uint64_t top,
                    std::uint64_t claimedCount = 0) {
    QByteArray out("bplist00");
    std::vector<std::uint64_t> offsets;
    for (const QByteArray& object : objects) {
        offsets.push_back(static_cast<std::uint64_t>(out.size()));
        out.append(object);
    }
    const auto table = static_cast<std::uint64_t>(out.size());
    for (std::uint64_t offset : offsets)
        out.append(static_cast<char>(offset)); // offsets stay below 256 here
    auto be64 = [&](std::uint64_t v) {
        for (int i = 7; i >= 0; --i)
            out.append(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    out.append(6, '\0');
    out.append('\x01');
    out.append(static_cast<char>(refSize));
    be64(claimedCount ? claimedCount : objects.size());
    be64(top);
    be64(table);
    return out;
}

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

QByteArray smallScene() {
    PointPairs pairs;
    pairs.push_back(
        std::make_shared<GLPointPair>(GLPointWithColor::pointWithX(1.5, -2, 3, 0.25, 0.5, 0.75, 1),
                                      GLPointWithColor::pointWithX(4, 5, -6)));
    pairs.push_back(std::make_shared<GLPointPair>(GLPointWithColor::pointWithX(7, 8, 9, 1, 0, 0, 1),
                                                  GLPointWithColor::pointWithX(0, 0, 0)));
    return KeyedArchiver::archivedDataWithRootObject(pairs);
}

// A byte of the data replaced; a negative position counts from the end.
QByteArray patched(QByteArray data, qsizetype at, int value) {
    data[at < 0 ? data.size() + at : at] = static_cast<char>(value);
    return data;
}

// What the user is told about data in a damaged binary property list.
std::string damaged(const char* detail) {
    return std::string("the file is damaged and cannot be read (binary property list: ") + detail +
           ")";
}

// Why reading the data fails, or nothing when it does not.
QString refusal(const QByteArray& data) {
    const Result<PointPairArray> read = KeyedUnarchiver::unarchiveObjectWithData(data);
    return read ? QString() : read.reason();
}

} // namespace

TEST(BinaryPlist, EveryKindOfValueSurvivesWriterAndReader) {
    plist::Document document;
    std::vector<Ref> items;
    const std::int64_t integers[] = {0,
                                     255,
                                     256,
                                     65535,
                                     65536,
                                     4294967295LL,
                                     4294967296LL,
                                     -1,
                                     std::numeric_limits<std::int64_t>::min()};
    for (std::int64_t n : integers)
        items.push_back(document.add(Value::makeInteger(n)));
    Value huge = Value::makeInteger(static_cast<std::int64_t>(18446744073709551615ULL));
    huge.integerUnsigned = true;
    items.push_back(document.add(huge));
    items.push_back(document.add(Value::makeReal(-0.0)));
    items.push_back(document.add(Value::makeReal(0.1)));
    items.push_back(document.add(Value::makeString(QStringLiteral("a string longer than 15"))));
    items.push_back(document.add(Value::makeString(QStringLiteral("Grüße, \u263A"))));
    for (std::uint64_t uid : {0ULL, 255ULL, 256ULL, 70000ULL, 5000000000ULL})
        items.push_back(document.add(Value::makeUid(uid)));
    Value data;
    data.type = Type::Data;
    data.data = QByteArray(40, '\x7F');
    items.push_back(document.add(data));
    Value flag;
    flag.type = Type::Boolean;
    flag.boolean = true;
    items.push_back(document.add(flag));
    Value dictionary = Value::makeDictionary();
    dictionary.keys = {QStringLiteral("a string longer than 15"), QStringLiteral("k")};
    dictionary.items = {items[0], items[1]};
    items.push_back(document.add(dictionary));
    document.root = document.add(Value::makeArray(items));

    plist::ReadProblem failure;
    auto source = plist::open(plist::writeBinary(document), &failure);
    ASSERT_TRUE(source) << failure.detail.toStdString();
    const std::optional<Value> root = plist::copied(*source, source->root());
    ASSERT_TRUE(root);
    ASSERT_EQ(root->type, Type::Array);
    ASSERT_EQ(root->items.size(), items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const Value& expected = document.objects[items[i]];
        const std::optional<Value> got = plist::copied(*source, root->items[i]);
        ASSERT_TRUE(got) << i;
        EXPECT_EQ(got->type, expected.type) << i;
        EXPECT_EQ(got->integer, expected.integer) << i;
        EXPECT_EQ(got->integerUnsigned, expected.integerUnsigned) << i;
        EXPECT_EQ(std::signbit(got->real), std::signbit(expected.real)) << i;
        EXPECT_EQ(got->real, expected.real) << i;
        EXPECT_EQ(got->string, expected.string) << i;
        EXPECT_EQ(got->uid, expected.uid) << i;
        EXPECT_EQ(got->data, expected.data) << i;
        EXPECT_EQ(got->boolean, expected.boolean) << i;
        EXPECT_EQ(got->keys, expected.keys) << i;
        EXPECT_EQ(got->items.size(), expected.items.size()) << i;
    }
}

TEST(BinaryPlist, DamagedStructureIsRefusedWithItsReason) {
    const QByteArray emptyArray = bytes({0xA0});
    const QByteArray good = assemble({emptyArray}, 1, 0);
    std::vector<QByteArray> nulls(257, bytes({0x00}));
    struct Case {
        const char* name;
        QByteArray data;
        std::string message;
    } cases[] = {
        {"empty", QByteArray(), "the file is empty"},
        {"not a property list", "hello", "the file is not a scene: it is not a property list"},
        {"other version", QByteArray("bplist15") + QByteArray(40, '\0'),
         "the file is not a scene: it is a binary property list of an unsupported version"},
        {"too short", "bplist00", damaged("it is too short to hold a trailer")},
        {"offsets of no bytes", patched(good, -26, 0),
         damaged("the trailer gives impossible field sizes")},
        {"references of nine bytes", patched(good, -25, 9),
         damaged("the trailer gives impossible field sizes")},
        {"no objects", patched(good, -17, 0), damaged("the trailer counts no objects")},
        {"top object out of range", assemble({emptyArray}, 1, 1),
         damaged("the top object 1 does not exist")},
        {"more objects than the table holds", assemble({emptyArray}, 1, 0, 1000),
         damaged("the offset table lies outside the file")},
        {"references too narrow", assemble(nulls, 1, 0),
         damaged("1-byte references cannot name all 257 objects")},
        {"offset inside the header", patched(good, -33, 3),
         damaged("object 0 lies outside the object area")},
        {"offset inside the offset table", patched(good, -33, 9),
         damaged("object 0 lies outside the object area")},
        {"malformed length", assemble({bytes({0xAF, 0x20, 0x01})}, 1, 0),
         damaged("object 0 has a malformed length")},
        {"length of sixteen bytes", assemble({bytes({0xAF, 0x14, 0x01})}, 1, 0),
         damaged("object 0 has a malformed length")},
        {"huge array count", assemble({bytes({0xAF, 0x13, 0x10, 0, 0, 0, 0, 0, 0, 0})}, 1, 0),
         damaged("object 0 runs past the end of the object area")},
        {"reference out of range", assemble({bytes({0xA1, 0x05})}, 1, 0),
         damaged("object 0 refers to object 5, which does not exist")},
        {"truncated real", assemble({bytes({0x23, 0x40})}, 1, 0), damaged("object 0 is cut short")},
        {"key that is not a string", assemble({bytes({0xD1, 0x00, 0x00})}, 1, 0),
         damaged("a dictionary key (object 0) is not a string")},
        {"unknown marker", assemble({bytes({0x70})}, 1, 0),
         damaged("object 0 has the unknown marker 0x70")},
        {"integer beyond 64 bits",
         assemble({bytes({0x14, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0})}, 1, 0),
         damaged("object 0 is an integer too large to use")},
    };
    for (const Case& c : cases) {
        const Result<PointPairArray> result = KeyedUnarchiver::unarchiveObjectWithData(c.data);
        ASSERT_FALSE(result) << c.name;
        EXPECT_EQ(result.reason().toStdString(), c.message) << c.name;
    }
}

TEST(BinaryPlist, ObjectsThatContainThemselvesAreReadWithoutRecursion) {
    // An array holding itself, and a dictionary whose value is itself.
    const QByteArray data =
        assemble({bytes({0xA2, 0x00, 0x01}), bytes({0xD1, 0x02, 0x01}), bytes({0x51, 'k'})}, 1, 0);
    plist::ReadProblem failure;
    auto source = plist::open(data, &failure);
    ASSERT_TRUE(source);
    const std::optional<Value> array = plist::copied(*source, 0);
    ASSERT_TRUE(array);
    EXPECT_EQ(array->items, (std::vector<Ref>{0, 1}));
    const std::optional<Value> dictionary = plist::copied(*source, 1);
    ASSERT_TRUE(dictionary);
    EXPECT_EQ(dictionary->keys, std::vector<QString>{QStringLiteral("k")});
    EXPECT_EQ(refusal(data),
              "the file is not a scene: it is a property list, but not a keyed archive");
}

TEST(BinaryPlist, EveryTruncationAndEveryByteChangeIsHandled) {
    const QByteArray data = smallScene();
    for (qsizetype size = 0; size < data.size(); ++size) {
        const Result<PointPairArray> result =
            KeyedUnarchiver::unarchiveObjectWithData(data.left(size));
        ASSERT_FALSE(result) << size;
        EXPECT_FALSE(result.reason().isEmpty()) << size;
    }
    for (qsizetype i = 0; i < data.size(); ++i) {
        for (int delta : {1, 0x80, 0xFF}) {
            QByteArray damaged = data;
            damaged[i] = static_cast<char>(damaged[i] + delta);
            const Result<PointPairArray> result = KeyedUnarchiver::unarchiveObjectWithData(damaged);
            EXPECT_TRUE(result ? *result != nullptr : !result.reason().isEmpty()) << i;
        }
    }
}

TEST(XmlPlist, UidsNumbersAndStructure) {
    const QByteArray xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0"><array>
  <dict><key>CF$UID</key><integer>7</integer></dict>
  <dict><key>CF$UID</key><string>7</string></dict>
  <real> 0.75 </real><real>-1e3</real><integer>-42</integer><integer>18446744073709551615</integer>
  <true/><false/><data>AAEC
  /w==</data><date>2001-01-01T00:01:00Z</date><string>a &amp; b</string>
</array></plist>)";
    plist::Document document;
    plist::ReadProblem failure;
    ASSERT_TRUE(plist::readXml(xml, &document, &failure)) << failure.detail.toStdString();
    const auto& root = document.objects[document.root];
    ASSERT_EQ(root.items.size(), 11u);
    auto at = [&](int i) -> const Value& { return document.objects[root.items[i]]; };
    EXPECT_EQ(at(0).type, Type::Uid);
    EXPECT_EQ(at(0).uid, 7u);
    EXPECT_EQ(at(1).type, Type::Dictionary); // only an integer makes a UID
    EXPECT_EQ(at(2).real, 0.75);
    EXPECT_EQ(at(3).real, -1000.0);
    EXPECT_EQ(at(4).integer, -42);
    EXPECT_TRUE(at(5).integerUnsigned);
    EXPECT_EQ(static_cast<std::uint64_t>(at(5).integer), 18446744073709551615ULL);
    EXPECT_TRUE(at(6).boolean);
    EXPECT_FALSE(at(7).boolean);
    EXPECT_EQ(at(8).data, bytes({0, 1, 2, 0xFF}));
    EXPECT_EQ(at(9).real, 60.0);
    EXPECT_EQ(at(10).string, QStringLiteral("a & b"));
}

TEST(XmlPlist, MalformedDocumentsAreRefused) {
    const std::pair<const char*, const char*> cases[] = {
        {"<plist><array><integer>1.5</integer></array></plist>",
         "the file is damaged and cannot be read (XML property list, line 1: “1.5” is not an "
         "integer)"},
        {"<plist><real>0,75</real></plist>",
         "the file is damaged and cannot be read (XML property list, line 1: “0,75” is not a "
         "number)"},
        {"<plist><dict><string>x</string></dict></plist>",
         "the file is damaged and cannot be read (XML property list, line 1: a dictionary value "
         "has no <key>)"},
        {"<plist><dict><key>a</key></dict></plist>",
         "the file is damaged and cannot be read (XML property list, line 1: the key “a” has no "
         "value)"},
        {"<plist><array><banana/></array></plist>",
         "the file is damaged and cannot be read (XML property list, line 1: <banana> is not a "
         "property-list element)"},
        {"<plist><string>a</string><string>b</string></plist>",
         "the file is damaged and cannot be read (XML property list, line 1: the <plist> holds "
         "more than one value)"},
        {"<plist><array>",
         "the file is damaged and cannot be read (XML property list, line 1: Premature end of "
         "document)"},
        {"<plist></plist>",
         "the file is damaged and cannot be read (XML property list, line 1: the <plist> holds "
         "no value)"},
        {"<notplist/>",
         "the file is not a scene: it is an XML document, but not a property list (line 1: the "
         "document is not a <plist>)"},
        {"<!DOCTYPE plist [<!ENTITY a \"aaaaaaaaaa\">]><plist><string>&a;</string></plist>",
         "the file is damaged and cannot be read (XML property list, line 1: the document "
         "declares entities)"},
        {"<plist><data>!!</data></plist>",
         "the file is damaged and cannot be read (XML property list, line 1: a <data> element is "
         "not valid base64)"},
    };
    for (const auto& [xml, message] : cases)
        EXPECT_EQ(refusal(xml), QString::fromUtf8(message)) << xml;
}

TEST(XmlPlist, DeepNestingNeitherRecursesNorCrashes) {
    const int depth = 200000;
    QByteArray xml = "<plist>";
    xml.reserve(depth * 16);
    for (int i = 0; i < depth; ++i)
        xml += "<array>";
    for (int i = 0; i < depth; ++i)
        xml += "</array>";
    xml += "</plist>";
    EXPECT_EQ(refusal(xml), QStringLiteral("the file nests values more than %L1 deep, the most "
                                           "Orbalin reads (line 1)")
                                .arg(plist::maximumXmlDepth));
}

TEST(BinaryPlist, AliasedContainersReadAlike) {
    // Three table entries point at one array: each reads it in place, so aliases cost nothing.
    QByteArray data("bplist00");
    data += bytes({0xA2, 0x01, 0x02, 0x09}); // the array at 8, a boolean at 11
    data += bytes({8, 11, 8});               // offset table at 12
    data += QByteArray(6, '\0') + bytes({1, 1}) + QByteArray(7, '\0') + bytes({3}) +
            QByteArray(8, '\0') + QByteArray(7, '\0') + bytes({12});
    plist::ReadProblem failure;
    auto source = plist::open(data, &failure);
    ASSERT_TRUE(source) << failure.detail.toStdString();
    const std::optional<Value> first = plist::copied(*source, 0);
    const std::optional<Value> alias = plist::copied(*source, 2);
    ASSERT_TRUE(first) << source->error().toStdString();
    ASSERT_TRUE(alias) << source->error().toStdString();
    EXPECT_EQ(first->items, (std::vector<Ref>{1, 2}));
    EXPECT_EQ(alias->items, first->items);
}
