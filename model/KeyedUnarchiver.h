#pragma once

#include "GLPointPair.h"
#include "GLPointWithColor.h"
#include "SceneArchiveRules.h"
#include "base/BackgroundTask.h"
#include "base/Result.h"
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
// The most pairs a scene file may hold: more than a file of the size above holds. It bounds
// what a crafted file can make the reader build, since a pair may be named many times over by
// references of one byte each.
constexpr std::size_t maximumScenePairs = 1000000;

// Reads a keyed archive of a scene, binary or XML, walking its objects: "$top" names the root
// among "$objects", and objects name each other and their class descriptions by UID. Reading is
// strict: only the scene's own classes are accepted (NSArray or NSMutableArray at the root,
// GLPointPair, GLPointWithColor), every pair must have both points, every number must be finite,
// and anything malformed refuses the whole file. An object is decoded once however many references
// name it, and shared; objects of different UIDs stay different objects even where the data stores
// them once, and then their stored dictionary is still looked through once. Reading holds the scene
// and a few bytes per archived object besides the data, and takes time in proportion to the
// data; a failed allocation refuses the file.
class KeyedUnarchiver {
  public:
    // The scene (possibly empty), or why the file is refused, as SceneArchiveRules words it.
    // The work done is counted in objects, dictionary entries and references looked at: at
    // most a small multiple of the data's size whatever the data holds.
    static Result<PointPairArray> unarchiveObjectWithData(const QByteArray& data,
                                                          BackgroundTask* task = nullptr);

    // Coder operations for the decoding constructors, reading the object being decoded.
    // A missing key reads as 0.0; an integer reads as that number.
    double decodeDoubleForKey(const QString& key);
    // The object referred to under `key`, or nullptr when the key is missing or holds nil.
    // Only T is accepted there; anything else fails the whole archive.
    template <class T> std::shared_ptr<T> decodeObjectForKey(const QString& key);

    // True once anything has been refused; later operations answer 0.0 and nullptr.
    bool failed() const { return !error_.isEmpty(); }

  private:
    using Rules = SceneArchiveRules;
    using Key = Rules::Key;
    using Class = Rules::Class;
    using Where = Rules::Where;
    using Problem = Rules::Problem;
    static constexpr std::size_t KeyCount = Rules::KeyCount;

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
    static std::shared_ptr<void> decodeNewPoint(KeyedUnarchiver& coder);
    static std::shared_ptr<void> decodeNewPair(KeyedUnarchiver& coder);

    KeyedUnarchiver(plist::ObjectSource& source, BackgroundTask& task, std::size_t dataSize);
    static Result<PointPairArray> unarchive(const QByteArray& data, BackgroundTask& task);

    bool run(PointPairs* pairs);
    bool fail(const QString& message);
    bool sourceFailed();
    bool damaged(const Where& where, Problem problem, const QString& detail = QString());
    // Reads a dictionary and finds the known keys in it.
    void scan(const plist::Object& dictionary, Entries* entries);
    // The same for the stored object `ref`, remembering what a large dictionary holds: many
    // UIDs may name one stored dictionary.
    void scanStored(const plist::Object& dictionary, plist::Ref ref, Entries* entries);
    // The value under `key` when it is there and of `type`; false also when the data is damaged
    // (then failed()).
    bool valueOf(const Entries& entries, Key key, plist::Type type, plist::Object* value);
    bool find(const Entries& entries, const QString& key, plist::Ref* ref);
    // Reads a reference; false (after fail() only if the data is damaged) when it is none.
    bool asUid(const plist::Object& value, std::uint64_t* uid);
    // The archive's object `uid`; false when the archive does not hold it or (after fail())
    // when the data is damaged.
    bool archived(std::uint64_t uid, plist::Object* object, plist::Ref* ref = nullptr);
    // The class of a stored object, or Class::None after fail().
    Class classOf(const Entries& object, const Where& where, QString* name);
    // Finds the object under `key` of the current object. Answers false on failure and sets
    // `uid` to 0 for nil.
    bool referenceForKey(const QString& key, const Where& child, std::uint64_t* uid);
    // The object of class `type` under `key` of the current object, decoded with `decode`.
    std::shared_ptr<void> decodeChildForKey(const QString& key, Class type, Decode decode);
    // Looks up an object of class `type` and decodes it with `decode`, or returns the one
    // decoded before.
    std::shared_ptr<void> decodeObject(std::uint64_t uid, Class type, const Where& where,
                                       Decode decode);

    plist::ObjectSource& source_;
    BackgroundTask& task_;
    plist::Object objects_; // "$objects"
    std::deque<Frame> frames_;
    // The slot in decoded_ (plus one) of the object `uid`, made when `make` is set; nullptr
    // when there is none.
    std::uint32_t* slotOf(std::uint64_t uid, bool make);

    // Objects decoded so far, by UID. Slots are kept for every archived object when the data
    // is large enough to pay for them (four bytes each), and otherwise only for the objects
    // decoded, each of which costs far more anyway.
    std::vector<std::uint32_t> slotOfUid_;
    std::unordered_map<std::uint64_t, std::uint32_t> sparseSlots_;
    std::size_t dataSize_ = 0;
    std::vector<Decoded> decoded_;
    // The known keys of large stored dictionaries, once looked through.
    struct Known {
        std::array<plist::Ref, KeyCount> refs;
        std::uint32_t present;
    };
    std::unordered_map<plist::Ref, Known> scanned_;
    std::unordered_map<plist::Ref, Class> classes_; // allowed classes, by their description
    std::uint64_t steps_ = 0;
    bool cancelled_ = false;
    QString error_;
};

template <>
std::shared_ptr<GLPointWithColor>
KeyedUnarchiver::decodeObjectForKey<GLPointWithColor>(const QString& key);
template <>
std::shared_ptr<GLPointPair> KeyedUnarchiver::decodeObjectForKey<GLPointPair>(const QString& key);
