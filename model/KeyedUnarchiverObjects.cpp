// Decoding the archived objects: references, their classes, the objects decoded so far, and
// the values that the scene's classes ask for as they decode themselves. Reading the archive
// as a whole is in KeyedUnarchiver.cpp.
#include "KeyedUnarchiver.h"

#include <cmath>
#include <limits>

using plist::Object;
using plist::Ref;
using plist::Type;

std::shared_ptr<void> KeyedUnarchiver::decodeNewPoint(KeyedUnarchiver& coder) {
    return std::make_shared<GLPointWithColor>(coder);
}

std::shared_ptr<void> KeyedUnarchiver::decodeNewPair(KeyedUnarchiver& coder) {
    return std::make_shared<GLPointPair>(coder);
}

bool KeyedUnarchiver::asUid(const Object& value, std::uint64_t* uid) {
    *uid = 0;
    if (value.type == Type::Uid) {
        *uid = value.uid;
        return true;
    }
    // Converters that know no UID type leave the XML form {"CF$UID": n} behind, also in
    // binary files; it means the same.
    if (value.type != Type::Dictionary || value.count != 1 ||
        source_.knownKey(value, 0) != Rules::UidKey)
        return false;
    Object number;
    if (!source_.get(source_.item(value, 0), &number))
        return sourceFailed();
    if (number.type != Type::Integer || number.integerUnsigned || number.integer < 0)
        return false;
    *uid = static_cast<std::uint64_t>(number.integer);
    return true;
}

bool KeyedUnarchiver::archived(std::uint64_t uid, Object* object, Ref* ref) {
    if (uid >= objects_.count)
        return false;
    const Ref stored = source_.item(objects_, static_cast<std::size_t>(uid));
    if (ref)
        *ref = stored;
    if (!source_.get(stored, object))
        return sourceFailed();
    return true;
}

KeyedUnarchiver::Class KeyedUnarchiver::classOf(const Entries& object, const Where& where,
                                                QString* name) {
    if (!object.has(Rules::ClassKey)) {
        damaged(where, Problem::Unreadable, Rules::noClass());
        return Class::None;
    }
    Object reference;
    if (!source_.get(object.refs[Rules::ClassKey], &reference)) {
        sourceFailed();
        return Class::None;
    }
    std::uint64_t classUid = 0;
    if (!asUid(reference, &classUid)) {
        damaged(where, Problem::Unreadable, Rules::damagedClassReference());
        return Class::None;
    }
    // Class descriptions are shared by many objects and may be large: look at each once,
    // however many UIDs name it.
    if (classUid < objects_.count) {
        const Ref stored = source_.item(objects_, static_cast<std::size_t>(classUid));
        if (auto known = classes_.find(stored); known != classes_.end()) {
            *name = Rules::nameOf(known->second);
            return known->second;
        }
    }
    Object description;
    Ref descriptionRef = 0;
    if (!archived(classUid, &description, &descriptionRef)) {
        damaged(where, Problem::Unreadable, Rules::classNotInArchive(classUid));
        return Class::None;
    }
    Entries entries;
    if (description.type == Type::Dictionary)
        scan(description, &entries);
    Object text;
    if (!valueOf(entries, Rules::ClassNameKey, Type::String, &text) || text.string.size == 0) {
        damaged(where, Problem::Unreadable, Rules::damagedClassDescription());
        return Class::None;
    }
    *name = text.string.toString();
    const Class type = Rules::classNamed(*name);
    if (type != Class::Other)
        classes_.emplace(descriptionRef, type);
    return type;
}

std::shared_ptr<void> KeyedUnarchiver::decodeObject(std::uint64_t uid, Class type,
                                                    const Where& where, Decode decode) {
    const Problem isNot = type == Class::Pair ? Problem::NotAPair : Problem::NotAPoint;
    ++steps_;
    // An object met before is answered from the cache, without looking at its contents again:
    // a file may refer to one large object many times.
    const std::uint32_t* slot = slotOf(uid, false);
    if (slot && *slot != 0) {
        const Decoded& known = decoded_[*slot - 1];
        if (known.type != type) {
            damaged(where, isNot, Rules::holdsClass(Rules::nameOf(known.type)));
            return nullptr;
        }
        if (known.inProgress) {
            damaged(where, Problem::Unreadable, Rules::refersBack());
            return nullptr;
        }
        return known.object;
    }
    Object value;
    Ref stored = 0;
    if (!archived(uid, &value, &stored)) {
        if (!failed())
            damaged(where, Problem::Missing, Rules::notInArchive(uid));
        return nullptr;
    }
    if (value.type == Type::String && value.string == Rules::nullMarker())
        return nullptr;
    if (value.type != Type::Dictionary) {
        damaged(where, isNot, Rules::holds(value.type));
        return nullptr;
    }
    frames_.push_back(Frame{Entries(), where});
    scanStored(value, stored, &frames_.back().entries);
    QString name;
    const Class actual = classOf(frames_.back().entries, where, &name);
    if (actual != type) {
        frames_.pop_back();
        if (actual == Class::Other)
            damaged(where, isNot, Rules::holdsForeignClass(name));
        else if (actual != Class::None)
            damaged(where, isNot, Rules::holdsClass(name));
        return nullptr;
    }
    decoded_.push_back({nullptr, type, true});
    const auto index = decoded_.size() - 1;
    *slotOf(uid, true) = static_cast<std::uint32_t>(index + 1);
    std::shared_ptr<void> object = decode(*this);
    frames_.pop_back();
    Decoded& entry = decoded_[index];
    entry.inProgress = false;
    if (failed())
        return nullptr;
    entry.object = object;
    return object;
}

bool KeyedUnarchiver::referenceForKey(const QString& key, const Where& child, std::uint64_t* uid) {
    *uid = 0;
    if (failed())
        return false;
    Ref ref = 0;
    if (!find(frames_.back().entries, key, &ref))
        return true;
    Object value;
    if (!source_.get(ref, &value))
        return sourceFailed();
    if (!asUid(value, uid)) {
        if (failed())
            return false;
        return damaged(child, Problem::Missing, Rules::notAReference(value.type, key));
    }
    return true;
}

double KeyedUnarchiver::decodeDoubleForKey(const QString& key) {
    if (failed() || frames_.empty())
        return 0.0;
    const Frame& frame = frames_.back();
    Ref ref = 0;
    if (!find(frame.entries, key, &ref))
        return 0.0;
    Object value;
    if (!source_.get(ref, &value)) {
        sourceFailed();
        return 0.0;
    }
    if (!value.isNumber()) {
        damaged(frame.where, Rules::badNumber(key), Rules::notANumber(value.type, key));
        return 0.0;
    }
    const double number = value.toDouble();
    if (!std::isfinite(number)) {
        damaged(frame.where, Rules::badNumber(key), Rules::notFinite(key));
        return 0.0;
    }
    // Positions and colours end up as floats, and a double past a float's range has no float.
    if (std::abs(number) > std::numeric_limits<float>::max()) {
        damaged(frame.where, Rules::badNumber(key), Rules::beyondFloat(key));
        return 0.0;
    }
    return number;
}

std::shared_ptr<void> KeyedUnarchiver::decodeChildForKey(const QString& key, Class type,
                                                         Decode decode) {
    if (frames_.empty())
        return nullptr;
    const Where child{Where::Kind::Child, 0, &key, &frames_.back().where};
    std::uint64_t uid = 0;
    if (!referenceForKey(key, child, &uid) || uid == 0)
        return nullptr;
    return decodeObject(uid, type, child, decode);
}

template <>
std::shared_ptr<GLPointWithColor>
KeyedUnarchiver::decodeObjectForKey<GLPointWithColor>(const QString& key) {
    return std::static_pointer_cast<GLPointWithColor>(
        decodeChildForKey(key, Class::Point, decodeNewPoint));
}

template <>
std::shared_ptr<GLPointPair> KeyedUnarchiver::decodeObjectForKey<GLPointPair>(const QString& key) {
    return std::static_pointer_cast<GLPointPair>(
        decodeChildForKey(key, Class::Pair, decodeNewPair));
}
