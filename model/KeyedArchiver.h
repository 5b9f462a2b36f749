#pragma once

#include "GLPointPair.h"
#include "GLPointWithColor.h"
#include "base/BackgroundTask.h"
#include "base/Result.h"
#include "plist/BinaryWriter.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QHash>
#include <QString>

#include <memory>
#include <vector>

// Writes a scene as a keyed archive in the binary property-list form, the layout that other
// programs using keyed archives read: "$objects" starts with "$null", every object is stored
// once as a dictionary with a "$class" reference and its keyed values, objects follow in
// depth-first order, and each class dictionary follows the first object of its class.
// Archiving takes memory in proportion to the distinct objects and the references to them,
// and a failed allocation is a failure with a reason, never the end of the program.
class KeyedArchiver {
    Q_DECLARE_TR_FUNCTIONS(KeyedArchiver)

  public:
    // The archive, or why it could not be made (as a phrase), or cancelled.
    static Result<QByteArray> archive(const PointPairs& rootObject, BackgroundTask* task = nullptr);
    // The archive, or no data when it could not be made.
    static QByteArray archivedDataWithRootObject(const PointPairs& rootObject);

    // Coder operations for encodeWithCoder(): they add to the object being encoded.
    void encodeDouble(double value, const QString& forKey);
    // Objects are stored once however often they are encoded; nullptr is stored as nil.
    void encodeObject(const std::shared_ptr<GLPointWithColor>& object, const QString& forKey);
    void encodeObject(const std::shared_ptr<GLPointPair>& object, const QString& forKey);
    void encodeObject(const PointPairs& object, const QString& forKey);

  private:
    // The dictionary of an object being encoded: its keys and values so far, "$class" first.
    struct Encoding {
        plist::Ref dictionary = 0;
        std::vector<plist::BinaryWriter::KeyId> keys;
        std::vector<plist::Ref> values;
    };

    explicit KeyedArchiver(BackgroundTask& task);

    // Starts an object: reserves its place in "$objects" and makes it the one being encoded.
    // An object with an identity is remembered, so that encoding it again refers to it.
    std::uint64_t beginObject(const void* identity);
    // Finishes it with its class, whose dictionary is added the first time the class is seen.
    void endObject(const QString& className);
    // Stores a model object once, however often it is encoded, and answers the reference to
    // it; nullptr is stored as nil.
    template <class T>
    plist::Ref encodeSharedObject(const std::shared_ptr<T>& object, const QString& className);
    void setValue(const QString& key, plist::Ref value);
    plist::Ref uidRef(std::uint64_t uid);
    plist::Ref stringRef(const QString& string);
    QByteArray finish();

    BackgroundTask& task_;
    bool cancelled_ = false;
    plist::BinaryWriter writer_;
    std::vector<plist::Ref> objects_; // "$objects" entries, by UID
    // Objects being encoded, innermost last; the first stands for "$top". Entries past `depth_`
    // are kept for their buffers.
    std::vector<Encoding> encoding_;
    std::size_t depth_ = 0;
    plist::BinaryWriter::KeyId classKey_ = 0;
    QHash<const void*, std::uint64_t> uidOfObject_;
    std::vector<std::pair<QString, std::uint64_t>> classes_; // UIDs of the class dictionaries
    QHash<QString, plist::Ref> strings_;
    std::vector<plist::Ref> uids_; // the UID object of each UID, once made
};
