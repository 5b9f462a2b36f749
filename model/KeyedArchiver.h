#pragma once

#include "GLPointPair.h"
#include "GLPointWithColor.h"
#include "plist/PlistValue.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <memory>
#include <unordered_map>

// Writes a scene as a keyed archive in the binary property-list form, the layout that other
// programs using keyed archives read: "$objects" starts with "$null", every object is stored
// once as a dictionary with a "$class" reference and its keyed values, objects follow in
// depth-first order, and each class dictionary follows the first object of its class.
class KeyedArchiver {
  public:
    static QByteArray archivedDataWithRootObject(const PointPairs& rootObject);

    // Coder operations for encodeWithCoder(): they add to the object being encoded.
    void encodeDouble(double value, const QString& forKey);
    // Objects are stored once however often they are encoded; nullptr is stored as nil.
    void encodeObject(const std::shared_ptr<GLPointWithColor>& object, const QString& forKey);
    void encodeObject(const std::shared_ptr<GLPointPair>& object, const QString& forKey);
    void encodeObject(const PointPairs& object, const QString& forKey);

  private:
    KeyedArchiver();

    // Starts an object: reserves its place in "$objects" and makes it the one being encoded.
    std::uint64_t beginObject(const void* identity);
    // Finishes it with its class, whose dictionary is added the first time the class is seen.
    void endObject(const QString& className);
    // Stores a model object once, however often it is encoded; nullptr is stored as nil.
    template <class T>
    void encodeSharedObject(const std::shared_ptr<T>& object, const QString& className,
                            const QString& forKey);
    void setValue(const QString& key, plist::Ref value);
    plist::Ref uidRef(std::uint64_t uid);
    plist::Ref stringRef(const QString& string);
    QByteArray finish();

    plist::Document document_;
    std::vector<plist::Ref> objects_;     // "$objects" entries, by UID
    std::vector<std::uint64_t> encoding_; // UIDs of the objects being encoded, innermost last
    plist::Ref top_ = 0;
    std::unordered_map<const void*, std::uint64_t> uidOfObject_;
    QHash<QString, std::uint64_t> uidOfClass_;
    QHash<QString, plist::Ref> strings_;
    std::unordered_map<std::uint64_t, plist::Ref> uids_;
};
