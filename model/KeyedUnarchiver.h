#pragma once

#include "GLPointPair.h"
#include "GLPointWithColor.h"
#include "plist/PlistValue.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <unordered_map>

// What reading a scene file gives: either the scene (possibly empty) or, with no scene at all,
// a short plain-English reason naming where the file is wrong, e.g. "pair 3 has no second
// point" (pairs are counted from 1). The reason is a phrase that a sentence can quote.
struct UnarchiveResult {
    PointPairArray rootObject;
    QString error;
};

// Reads a keyed archive of a scene, binary or XML. Reading is strict: only the scene's own
// classes are accepted (NSArray or NSMutableArray at the root, GLPointPair, GLPointWithColor),
// every pair must have both points, every number must be finite, and anything malformed
// refuses the whole file. An object referred to twice is decoded once and shared.
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
    explicit KeyedUnarchiver(plist::ObjectSource& source);

    struct Decoded {
        bool inProgress = false;
        QString className;
        std::shared_ptr<void> object;
    };
    struct Context {
        const plist::Value* value;
        QString where;
    };

    bool run(PointPairs* pairs);
    bool fail(const QString& message);
    bool sourceFailed();
    // Reads a reference; false (after fail() only if the data is damaged) when it is none.
    bool asUid(const plist::Value& value, std::uint64_t* uid);
    // The archive's object `uid`, or nullptr (after fail()) when it is not there.
    const plist::Value* archived(std::uint64_t uid, const QString& where);
    // Checks the class of a stored object; returns its class name, or an empty string on
    // failure.
    QString classOf(const plist::Value& object, const QString& where);
    // Finds the object under `key` of the current object. Answers false on failure and sets
    // `uid` to 0 for nil.
    bool referenceForKey(const QString& key, std::uint64_t* uid);
    // Looks up an object of class `className` and decodes it with `decode`, or returns the one
    // decoded before.
    std::shared_ptr<void> decodeObject(std::uint64_t uid, const QString& className,
                                       const QString& expected, const QString& where,
                                       std::shared_ptr<void> (*decode)(KeyedUnarchiver&));
    QString describeChild(const QString& key) const;

    plist::ObjectSource& source_;
    const plist::Value* objects_ = nullptr;
    std::vector<Context> contexts_;
    std::unordered_map<std::uint64_t, Decoded> decoded_;
    std::unordered_map<std::uint64_t, QString> classNames_; // allowed classes only
    QString error_;
};

template <>
std::shared_ptr<GLPointWithColor>
KeyedUnarchiver::decodeObjectForKey<GLPointWithColor>(const QString& key);
template <>
std::shared_ptr<GLPointPair> KeyedUnarchiver::decodeObjectForKey<GLPointPair>(const QString& key);
