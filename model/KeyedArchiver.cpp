#include "KeyedArchiver.h"

#include <algorithm>
#include <array>
#include <limits>
#include <new>
#include <stdexcept>
#include <unordered_set>

using plist::Ref;

namespace {

constexpr Ref noRef = std::numeric_limits<Ref>::max();

} // namespace

KeyedArchiver::KeyedArchiver(BackgroundTask& task)
    : task_(task) {
    objects_.push_back(stringRef(QStringLiteral("$null")));
    // The "$top" dictionary stands in for UID 0 while encoding.
    encoding_.resize(1);
    encoding_[0].dictionary = writer_.addPending();
    depth_ = 1;
    classKey_ = writer_.key(QStringLiteral("$class"));
}

QByteArray KeyedArchiver::archivedDataWithRootObject(const PointPairs& rootObject) {
    Result<QByteArray> archived = archive(rootObject);
    return archived ? std::move(archived).value() : QByteArray();
}

Result<QByteArray> KeyedArchiver::archive(const PointPairs& rootObject, BackgroundTask* task) {
    BackgroundTask unwatched;
    BackgroundTask& work = task ? *task : unwatched;
    try {
        KeyedArchiver archiver(work);
        // A pair takes three dictionaries, fourteen numbers and three references, and 42
        // elements in containers; a pair named again takes one reference. A pair that only
        // the array holds is named once.
        std::size_t pairs = 0;
        std::unordered_set<const GLPointPair*> shared;
        for (const auto& pair : rootObject) {
            if (pair.use_count() == 1)
                ++pairs;
            else
                shared.insert(pair.get());
        }
        pairs += shared.size();
        shared = {};
        archiver.writer_.reserve(32 + 20 * pairs, 32 + 42 * pairs);
        archiver.objects_.reserve(8 + 3 * pairs);
        archiver.uids_.reserve(8 + 3 * pairs);
        archiver.encodeObject(rootObject, QStringLiteral("root"));
        if (!archiver.cancelled_) {
            QByteArray data = archiver.finish();
            if (!work.isCancelled())
                return data;
        }
        return Failure::cancel();
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    return Failure::because(tr("there is not enough memory to save the scene"));
}

Ref KeyedArchiver::stringRef(const QString& string) {
    auto found = strings_.constFind(string);
    if (found != strings_.constEnd())
        return found.value();
    const Ref ref = writer_.addString(string);
    strings_.insert(string, ref);
    return ref;
}

Ref KeyedArchiver::uidRef(std::uint64_t uid) {
    if (uid >= uids_.size())
        uids_.resize(uid + 1, noRef);
    if (uids_[uid] == noRef)
        uids_[uid] = writer_.addUid(uid);
    return uids_[uid];
}

void KeyedArchiver::setValue(const QString& key, Ref value) {
    Encoding& object = encoding_[depth_ - 1];
    object.keys.push_back(writer_.key(key));
    object.values.push_back(value);
}

std::uint64_t KeyedArchiver::beginObject(const void* identity) {
    const std::uint64_t uid = objects_.size();
    if (identity)
        uidOfObject_.insert(identity, uid);
    const Ref dictionary = writer_.addPending();
    objects_.push_back(dictionary);
    if (encoding_.size() == depth_)
        encoding_.emplace_back();
    Encoding& object = encoding_[depth_++];
    object.dictionary = dictionary;
    // "$class" goes first, as readers listing the dictionary show it; its value comes last.
    object.keys.assign(1, classKey_);
    object.values.assign(1, noRef);
    return uid;
}

void KeyedArchiver::endObject(const QString& className) {
    // Class names are the same few constants: compare where their characters are first.
    std::uint64_t classUid = 0;
    const auto found = std::find_if(classes_.begin(), classes_.end(), [&](const auto& known) {
        return known.first.constData() == className.constData() || known.first == className;
    });
    if (found != classes_.end()) {
        classUid = found->second;
    } else {
        const std::array<Ref, 2> classes{stringRef(className),
                                         stringRef(QStringLiteral("NSObject"))};
        const std::array<Ref, 2> values{writer_.addArray(classes), classes[0]};
        const std::array<plist::BinaryWriter::KeyId, 2> keys{
            writer_.key(QStringLiteral("$classes")), writer_.key(QStringLiteral("$classname"))};
        classUid = objects_.size();
        objects_.push_back(writer_.addDictionary(keys, values));
        classes_.emplace_back(className, classUid);
    }
    const Ref classRef = uidRef(classUid);
    Encoding& object = encoding_[--depth_];
    object.values[0] = classRef;
    writer_.setDictionary(object.dictionary, object.keys, object.values);
}

void KeyedArchiver::encodeDouble(double value, const QString& forKey) {
    setValue(forKey, writer_.addReal(value));
}

template <class T>
Ref KeyedArchiver::encodeSharedObject(const std::shared_ptr<T>& object, const QString& className) {
    if (!object)
        return uidRef(0);
    // An object that only one pointer holds is met once: only the others need remembering.
    const bool shared = object.use_count() > 1;
    if (shared) {
        if (auto found = uidOfObject_.constFind(object.get()); found != uidOfObject_.constEnd())
            return uidRef(found.value());
    }
    const std::uint64_t uid = beginObject(shared ? object.get() : nullptr);
    object->encodeWithCoder(*this);
    endObject(className);
    return uidRef(uid);
}

void KeyedArchiver::encodeObject(const std::shared_ptr<GLPointWithColor>& object,
                                 const QString& forKey) {
    setValue(forKey, encodeSharedObject(object, QStringLiteral("GLPointWithColor")));
}

void KeyedArchiver::encodeObject(const std::shared_ptr<GLPointPair>& object,
                                 const QString& forKey) {
    setValue(forKey, encodeSharedObject(object, QStringLiteral("GLPointPair")));
}

void KeyedArchiver::encodeObject(const PointPairs& object, const QString& forKey) {
    if (auto found = uidOfObject_.constFind(&object); found != uidOfObject_.constEnd()) {
        setValue(forKey, uidRef(found.value()));
        return;
    }
    const std::uint64_t uid = beginObject(&object);
    // Elements are objects of their own; the array holds their references in order.
    const Ref array = writer_.addPending();
    std::vector<Ref> elements;
    elements.reserve(object.size());
    for (const auto& pair : object) {
        if (elements.size() % checkInterval == 0) {
            if (task_.isCancelled()) {
                cancelled_ = true;
                break;
            }
            task_.setProgress(0.5 * double(elements.size()) / double(object.size()));
            task_.setAmount(BackgroundTask::Unit::Pairs, std::int64_t(elements.size()),
                            std::int64_t(object.size()));
        }
        elements.push_back(encodeSharedObject(pair, QStringLiteral("GLPointPair")));
    }
    writer_.setArray(array, elements);
    setValue(QStringLiteral("NS.objects"), array);
    endObject(QStringLiteral("NSArray"));
    setValue(forKey, uidRef(uid));
}

QByteArray KeyedArchiver::finish() {
    const Ref objects = writer_.addArray(objects_);
    const Encoding& top = encoding_[0];
    writer_.setDictionary(top.dictionary, top.keys, top.values);
    const Ref version = writer_.addInteger(100000);
    const Ref archiver = stringRef(QStringLiteral("NSKeyedArchiver"));
    const std::array<plist::BinaryWriter::KeyId, 4> keys{
        writer_.key(QStringLiteral("$version")), writer_.key(QStringLiteral("$archiver")),
        writer_.key(QStringLiteral("$top")), writer_.key(QStringLiteral("$objects"))};
    const std::array<Ref, 4> values{version, archiver, top.dictionary, objects};
    const BackgroundTask::Part laying(task_, 0.5, 1.0);
    return writer_.finish(writer_.addDictionary(keys, values), &task_);
}
