#include "KeyedArchiver.h"

#include "plist/BinaryPlist.h"

using plist::Ref;
using plist::Value;

KeyedArchiver::KeyedArchiver() {
    objects_.push_back(stringRef(QStringLiteral("$null")));
    top_ = document_.add(Value::makeDictionary());
    encoding_.push_back(0); // the "$top" dictionary stands in for UID 0 while encoding
}

QByteArray KeyedArchiver::archivedDataWithRootObject(const PointPairs& rootObject) {
    KeyedArchiver archiver;
    // A pair takes three dictionaries, fourteen numbers and three references.
    archiver.document_.objects.reserve(32 + 20 * rootObject.size());
    archiver.objects_.reserve(8 + 3 * rootObject.size());
    archiver.encodeObject(rootObject, QStringLiteral("root"));
    return archiver.finish();
}

Ref KeyedArchiver::stringRef(const QString& string) {
    auto found = strings_.constFind(string);
    if (found != strings_.constEnd())
        return found.value();
    const Ref ref = document_.add(Value::makeString(string));
    strings_.insert(string, ref);
    return ref;
}

Ref KeyedArchiver::uidRef(std::uint64_t uid) {
    auto [it, inserted] = uids_.try_emplace(uid, 0);
    if (inserted)
        it->second = document_.add(Value::makeUid(uid));
    return it->second;
}

void KeyedArchiver::setValue(const QString& key, Ref value) {
    const std::uint64_t current = encoding_.back();
    Value& object = document_.objects[current == 0 ? top_ : objects_[current]];
    object.keys.push_back(key);
    object.items.push_back(value);
}

std::uint64_t KeyedArchiver::beginObject(const void* identity) {
    const std::uint64_t uid = objects_.size();
    uidOfObject_.emplace(identity, uid);
    objects_.push_back(document_.add(Value::makeDictionary()));
    encoding_.push_back(uid);
    return uid;
}

void KeyedArchiver::endObject(const QString& className) {
    auto found = uidOfClass_.constFind(className);
    std::uint64_t classUid = 0;
    if (found != uidOfClass_.constEnd()) {
        classUid = found.value();
    } else {
        Value classValue = Value::makeDictionary();
        classValue.keys = {QStringLiteral("$classes"), QStringLiteral("$classname")};
        classValue.items = {
            document_.add(Value::makeArray({stringRef(className), stringRef("NSObject")})),
            stringRef(className)};
        classUid = objects_.size();
        objects_.push_back(document_.add(std::move(classValue)));
        uidOfClass_.insert(className, classUid);
    }
    // "$class" goes first, as readers listing the dictionary show it. (Adding the reference
    // may grow the table, so the dictionary is looked up only afterwards.)
    const Ref classRef = uidRef(classUid);
    Value& object = document_.objects[objects_[encoding_.back()]];
    object.keys.insert(object.keys.begin(), QStringLiteral("$class"));
    object.items.insert(object.items.begin(), classRef);
    encoding_.pop_back();
}

void KeyedArchiver::encodeDouble(double value, const QString& forKey) {
    setValue(forKey, document_.add(Value::makeReal(value)));
}

template <class T>
void KeyedArchiver::encodeSharedObject(const std::shared_ptr<T>& object, const QString& className,
                                       const QString& forKey) {
    if (!object) {
        setValue(forKey, uidRef(0));
        return;
    }
    if (auto found = uidOfObject_.find(object.get()); found != uidOfObject_.end()) {
        setValue(forKey, uidRef(found->second));
        return;
    }
    const std::uint64_t uid = beginObject(object.get());
    object->encodeWithCoder(*this);
    endObject(className);
    setValue(forKey, uidRef(uid));
}

void KeyedArchiver::encodeObject(const std::shared_ptr<GLPointWithColor>& object,
                                 const QString& forKey) {
    encodeSharedObject(object, QStringLiteral("GLPointWithColor"), forKey);
}

void KeyedArchiver::encodeObject(const std::shared_ptr<GLPointPair>& object,
                                 const QString& forKey) {
    encodeSharedObject(object, QStringLiteral("GLPointPair"), forKey);
}

void KeyedArchiver::encodeObject(const PointPairs& object, const QString& forKey) {
    if (auto found = uidOfObject_.find(&object); found != uidOfObject_.end()) {
        setValue(forKey, uidRef(found->second));
        return;
    }
    const std::uint64_t uid = beginObject(&object);
    // Elements are objects of their own; the array holds their references in order.
    std::vector<Ref> elements;
    elements.reserve(object.size());
    const Ref array = document_.add(Value::makeArray({}));
    for (const auto& pair : object) {
        // Encode each element against a scratch key on the array, then move the reference.
        encodeObject(pair, QString());
        Value& self = document_.objects[objects_[uid]];
        elements.push_back(self.items.back());
        self.keys.pop_back();
        self.items.pop_back();
    }
    document_.objects[array].items = std::move(elements);
    setValue(QStringLiteral("NS.objects"), array);
    endObject(QStringLiteral("NSArray"));
    setValue(forKey, uidRef(uid));
}

QByteArray KeyedArchiver::finish() {
    const Ref objects = document_.add(Value::makeArray(objects_));
    Value root = Value::makeDictionary();
    root.keys = {QStringLiteral("$version"), QStringLiteral("$archiver"), QStringLiteral("$top"),
                 QStringLiteral("$objects")};
    root.items = {document_.add(Value::makeInteger(100000)),
                  stringRef(QStringLiteral("NSKeyedArchiver")), top_, objects};
    document_.root = document_.add(std::move(root));
    return plist::writeBinary(document_);
}
