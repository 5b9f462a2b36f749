#pragma once

#include "GLPointPair.h"
#include "GLPointWithColor.h"
#include "plist/PlistValue.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <unordered_map>
#include <vector>

// Scene files larger than this are refused before anything is read, as image readers refuse
// huge images: 256 MiB holds about 650 000 pairs, far beyond any scene made here.
constexpr std::int64_t maximumSceneFileSize = std::int64_t(256) << 20;

// What reading a scene file gives: either the scene (possibly empty) or, with no scene at all,
// the reason as a sentence for the user. It says what is wrong in plain words first and gives
// the detail in the archive's own terms after it, e.g. "The file is damaged: pair 3 has no
// second point." (pairs are counted from 1).
struct UnarchiveResult {
    PointPairArray rootObject;
    QString error;
};

// Reads a keyed archive of a scene, binary or XML. Reading is strict: only the scene's own
// classes are accepted (NSArray or NSMutableArray at the root, GLPointPair, GLPointWithColor),
// every pair must have both points, every number must be finite, and anything malformed
// refuses the whole file. An object referred to twice is decoded once and shared. Reading holds
// the scene and a few bytes per archived object besides the data.
class KeyedUnarchiver {
  public:
    static UnarchiveResult unarchiveObjectWithData(const QByteArray& data);

    // Coder operations for the decoding constructors, reading the object being decoded.
    // A missing key reads as 0.0; an integer reads as that number.
    double decodeDoubleForKey(const QString& key);
    // The object referred to under `key`, or nullptr when the key is missing or holds nil.
    // Only T is accepted there; anything else fails the whole archive.
    template <class T> std::shared_ptr<T> decodeObjectForKey(const QString& key);

    // True once anything has been refused; later operations answer 0.0 and nullptr.
    bool failed() const { return !error_.isEmpty(); }

  private:
    // The keys that reading looks up, in the order of keyTable().
    // The model's own keys come first: they are looked up most.
    enum Key : std::uint8_t {
        XKey,
        YKey,
        ZKey,
        RedKey,
        GreenKey,
        BlueKey,
        AlphaKey,
        Point1Key,
        Point2Key,
        ArchiverKey,
        VersionKey,
        TopKey,
        ObjectsKey,
        RootKey,
        ClassKey,
        ClassNameKey,
        ElementsKey,
        UidKey,
        KeyCount
    };
    enum class Class : std::uint8_t { None, Array, MutableArray, Pair, Point, Other };

    // Where an object sits in the scene, for messages; it is worded only when something fails.
    struct Where {
        enum class Kind : std::uint8_t { Scene, Pair, Child } kind = Kind::Scene;
        std::size_t pair = 0;          // Pair: counted from 1
        const QString* key = nullptr;  // Child: the key it is stored under in its parent
        const Where* parent = nullptr; // Child
    };
    // A dictionary with the values of the keys it holds.
    struct Entries {
        plist::Object object;
        std::array<plist::Ref, KeyCount> refs{};
        std::uint32_t present = 0;

        bool has(Key key) const { return (present >> key) & 1u; }
    };
    struct Frame {
        Entries entries;
        Where where;
    };
    struct Decoded {
        std::shared_ptr<void> object;
        Class type = Class::None;
        bool inProgress = false;
    };
    using Decode = std::shared_ptr<void> (*)(KeyedUnarchiver&);

    explicit KeyedUnarchiver(plist::ObjectSource& source);

    static std::span<const QString> keyTable();
    static QString describe(const Where& where);

    bool run(PointPairs* pairs);
    bool fail(const QString& message);
    bool sourceFailed();
    bool damaged(const Where& where, const QString& problem, const QString& detail = QString());
    // Reads a dictionary and finds the known keys in it.
    void scan(const plist::Object& dictionary, Entries* entries);
    // The value under `key` when it is there and of `type`; false also when the data is damaged
    // (then failed()).
    bool valueOf(const Entries& entries, Key key, plist::Type type, plist::Object* value);
    bool find(const Entries& entries, const QString& key, plist::Ref* ref);
    // Reads a reference; false (after fail() only if the data is damaged) when it is none.
    bool asUid(const plist::Object& value, std::uint64_t* uid);
    // The archive's object `uid`; false when the archive does not hold it or (after fail())
    // when the data is damaged.
    bool archived(std::uint64_t uid, plist::Object* object);
    // The class of a stored object, or Class::None after fail().
    Class classOf(const Entries& object, const Where& where, QString* name);
    // Finds the object under `key` of the current object. Answers false on failure and sets
    // `uid` to 0 for nil.
    bool referenceForKey(const QString& key, const Where& child, std::uint64_t* uid);
    // Looks up an object of class `type` and decodes it with `decode`, or returns the one
    // decoded before.
    std::shared_ptr<void> decodeObject(std::uint64_t uid, Class type, const Where& where,
                                       Decode decode);

    plist::ObjectSource& source_;
    plist::Object objects_; // "$objects"
    std::deque<Frame> frames_;
    // Objects decoded so far: slots by UID (0 for none yet), then the objects.
    std::vector<std::uint32_t> slotOfUid_;
    std::vector<Decoded> decoded_;
    std::unordered_map<std::uint64_t, Class> classes_; // allowed classes by their UID
    QString error_;
};

template <>
std::shared_ptr<GLPointWithColor>
KeyedUnarchiver::decodeObjectForKey<GLPointWithColor>(const QString& key);
template <>
std::shared_ptr<GLPointPair> KeyedUnarchiver::decodeObjectForKey<GLPointPair>(const QString& key);
