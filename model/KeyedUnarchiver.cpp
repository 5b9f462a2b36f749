#include "KeyedUnarchiver.h"

#include <cmath>
#include <limits>
#include <new>
#include <stdexcept>

using plist::Object;
using plist::Ref;
using plist::Type;

namespace {

std::shared_ptr<void> decodePoint(KeyedUnarchiver& coder) {
    return std::make_shared<GLPointWithColor>(coder);
}

std::shared_ptr<void> decodePair(KeyedUnarchiver& coder) {
    return std::make_shared<GLPointPair>(coder);
}

} // namespace

KeyedUnarchiver::KeyedUnarchiver(plist::ObjectSource& source, const CodecWork& work,
                                 std::size_t dataSize)
    : source_(source)
    , work_(work)
    , dataSize_(dataSize) {}

std::uint32_t* KeyedUnarchiver::slotOf(std::uint64_t uid, bool make) {
    if (!slotOfUid_.empty())
        return uid < slotOfUid_.size() ? &slotOfUid_[uid] : nullptr;
    if (make)
        return &sparseSlots_[uid];
    const auto found = sparseSlots_.find(uid);
    return found == sparseSlots_.end() ? nullptr : &found->second;
}

void KeyedUnarchiver::scanStored(const Object& dictionary, Ref ref, Entries* entries) {
    // Looking through a small dictionary again costs no more than remembering it.
    constexpr std::size_t small = 32;
    if (dictionary.count <= small) {
        scan(dictionary, entries);
        return;
    }
    if (const auto known = scanned_.find(ref); known != scanned_.end()) {
        ++steps_;
        entries->object = dictionary;
        entries->refs = known->second.refs;
        entries->present = known->second.present;
        return;
    }
    scan(dictionary, entries);
    scanned_.emplace(ref, Known{entries->refs, entries->present});
}

Result<PointPairArray> KeyedUnarchiver::unarchiveObjectWithData(const QByteArray& data,
                                                                const CodecWork& work) {
    // Whatever a file holds, running out of memory refuses it: it never ends the program.
    try {
        return unarchive(data, work);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    return Failure::because(Rules::outOfMemory());
}

Result<PointPairArray> KeyedUnarchiver::unarchive(const QByteArray& data, const CodecWork& work) {
    // Parsing XML builds its objects first; binary data is read in place as it is decoded.
    const bool xml = !data.startsWith("bplist");
    plist::ReadProblem problem;
    std::unique_ptr<plist::ObjectSource> source =
        plist::open(data, &problem, xml ? work.stage(0.0, 0.7) : work);
    if (!source) {
        switch (problem.kind) {
        case plist::ReadProblem::Kind::Cancelled:
            return Failure::cancel();
        case plist::ReadProblem::Kind::Refused:
            return Failure::because(problem.detail);
        case plist::ReadProblem::Kind::Empty:
            return Failure::because(Rules::empty());
        case plist::ReadProblem::Kind::Foreign:
            return Failure::because(Rules::notAScene(problem.detail));
        case plist::ReadProblem::Kind::Damaged:
            break;
        }
        return Failure::because(Rules::unreadable(problem.detail));
    }
    source->setKnownKeys(Rules::keyTable());
    const CodecWork decoding = xml ? work.stage(0.7, 1.0) : work;
    KeyedUnarchiver unarchiver(*source, decoding, static_cast<std::size_t>(data.size()));
    PointPairs pairs;
    const bool read = unarchiver.run(&pairs);
    work.countSteps(unarchiver.steps_);
    if (unarchiver.cancelled_)
        return Failure::cancel();
    if (!read)
        return Failure::because(unarchiver.error_);
    return PointPairArray(std::make_shared<const PointPairs>(std::move(pairs)));
}

bool KeyedUnarchiver::fail(const QString& message) {
    if (error_.isEmpty())
        error_ = message;
    return false;
}

bool KeyedUnarchiver::sourceFailed() {
    return fail(Rules::unreadable(source_.error()));
}

bool KeyedUnarchiver::damaged(const Where& where, Problem problem, const QString& detail) {
    return fail(Rules::damaged(where, problem, detail));
}

void KeyedUnarchiver::scan(const Object& dictionary, Entries* entries) {
    entries->object = dictionary;
    entries->present = 0;
    steps_ += dictionary.count;
    for (std::size_t i = 0; i < dictionary.count; ++i) {
        const std::size_t key = source_.knownKey(dictionary, i);
        if (key < KeyCount && !entries->has(static_cast<Key>(key))) {
            entries->refs[key] = source_.item(dictionary, i);
            entries->present |= 1u << key;
        }
    }
}

bool KeyedUnarchiver::valueOf(const Entries& entries, Key key, Type type, Object* value) {
    if (!entries.has(key))
        return false;
    if (!source_.get(entries.refs[key], value))
        return sourceFailed();
    return value->type == type;
}

bool KeyedUnarchiver::find(const Entries& entries, const QString& key, Ref* ref) {
    // Keys usually are the model's own constants, found by the address of their characters.
    const std::span<const QString> table = Rules::keyTable();
    std::size_t known = KeyCount;
    for (std::size_t i = 0; i < KeyCount && known == KeyCount; ++i) {
        if (table[i].constData() == key.constData())
            known = i;
    }
    for (std::size_t i = 0; i < KeyCount && known == KeyCount; ++i) {
        if (table[i] == key)
            known = i;
    }
    if (known < KeyCount) {
        if (!entries.has(static_cast<Key>(known)))
            return false;
        *ref = entries.refs[known];
        return true;
    }
    for (std::size_t i = 0; i < entries.object.count; ++i) {
        if (source_.key(entries.object, i) == key) {
            *ref = source_.item(entries.object, i);
            return true;
        }
    }
    return false;
}

bool KeyedUnarchiver::run(PointPairs* pairs) {
    Object top;
    if (!source_.get(source_.root(), &top))
        return sourceFailed();
    Entries archive;
    if (top.type == Type::Dictionary)
        scan(top, &archive);
    Object value;
    if (!valueOf(archive, Rules::ArchiverKey, Type::String, &value) ||
        !(value.string == Rules::archiverName())) {
        if (failed())
            return false;
        return fail(Rules::notAKeyedArchive());
    }
    if (!valueOf(archive, Rules::VersionKey, Type::Integer, &value) || value.integerUnsigned ||
        value.integer != Rules::archiveVersion) {
        if (failed())
            return false;
        return fail(Rules::otherVersion());
    }
    if (!valueOf(archive, Rules::ObjectsKey, Type::Array, &objects_)) {
        if (failed())
            return false;
        return fail(Rules::noObjects());
    }
    if (objects_.count <= dataSize_ / sizeof(std::uint32_t))
        slotOfUid_.assign(objects_.count, 0);
    Object topObjects;
    Entries topEntries;
    if (valueOf(archive, Rules::TopKey, Type::Dictionary, &topObjects))
        scan(topObjects, &topEntries);
    if (failed())
        return false;
    std::uint64_t rootUid = 0;
    if (topEntries.has(Rules::RootKey)) {
        Object root;
        if (!source_.get(topEntries.refs[Rules::RootKey], &root))
            return sourceFailed();
        if (!asUid(root, &rootUid) && failed())
            return false;
    }
    if (rootUid == 0)
        return fail(Rules::noScene());

    const Where scene;
    Object array;
    if (!archived(rootUid, &array)) {
        if (failed())
            return false;
        return damaged(scene, Problem::Missing, Rules::notInArchive(rootUid));
    }
    if (array.type == Type::String && array.string == Rules::nullMarker())
        return fail(Rules::noScene());
    if (array.type != Type::Dictionary)
        return fail(Rules::notAList(array.type));
    Entries list;
    scan(array, &list);
    QString className;
    const Class type = classOf(list, scene, &className);
    if (type == Class::None)
        return false;
    if (type != Class::Array && type != Class::MutableArray)
        return fail(Rules::notAList(className));
    Object elements;
    if (!valueOf(list, Rules::ElementsKey, Type::Array, &elements)) {
        if (failed())
            return false;
        return fail(Rules::noList());
    }

    if (elements.count > maximumScenePairs)
        return fail(Rules::tooManyPairs());
    pairs->reserve(elements.count);
    // A scene decodes a pair and its two points per element, fewer where they are shared: room
    // for them at once spares the copies that growing would make, at the peak of the read. Only
    // what the file could hold, so that a file that merely claims many costs nothing.
    const std::size_t expected = std::min<std::size_t>(3 * elements.count, objects_.count);
    if (expected * sizeof(Decoded) <= dataSize_)
        decoded_.reserve(expected);
    for (std::size_t i = 0; i < elements.count; ++i) {
        if (i % codecCheckInterval == 0) {
            if (work_.cancelled()) {
                cancelled_ = true;
                return false;
            }
            work_.report(double(i) / double(elements.count));
            work_.reportPairs(std::int64_t(i), std::int64_t(elements.count));
        }
        ++steps_;
        const Where where{Where::Kind::Pair, i + 1};
        Object element;
        if (!source_.get(source_.item(elements, i), &element))
            return sourceFailed();
        std::uint64_t uid = 0;
        if (!asUid(element, &uid)) {
            if (failed())
                return false;
            return damaged(where, Problem::Missing, Rules::storedInsteadOfReference(element.type));
        }
        if (uid == 0)
            return damaged(where, Problem::Missing);
        auto pair = std::static_pointer_cast<GLPointPair>(
            decodeObject(uid, Class::Pair, where, decodePair));
        if (failed())
            return false;
        if (!pair)
            return damaged(where, Problem::Missing);
        if (!pair->point1())
            return damaged(where, Problem::NoFirstPoint);
        if (!pair->point2())
            return damaged(where, Problem::NoSecondPoint);
        pairs->push_back(std::move(pair));
    }
    return true;
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

template <>
std::shared_ptr<GLPointWithColor>
KeyedUnarchiver::decodeObjectForKey<GLPointWithColor>(const QString& key) {
    if (frames_.empty())
        return nullptr;
    const Where child{Where::Kind::Child, 0, &key, &frames_.back().where};
    std::uint64_t uid = 0;
    if (!referenceForKey(key, child, &uid) || uid == 0)
        return nullptr;
    return std::static_pointer_cast<GLPointWithColor>(
        decodeObject(uid, Class::Point, child, decodePoint));
}

template <>
std::shared_ptr<GLPointPair> KeyedUnarchiver::decodeObjectForKey<GLPointPair>(const QString& key) {
    if (frames_.empty())
        return nullptr;
    const Where child{Where::Kind::Child, 0, &key, &frames_.back().where};
    std::uint64_t uid = 0;
    if (!referenceForKey(key, child, &uid) || uid == 0)
        return nullptr;
    return std::static_pointer_cast<GLPointPair>(decodeObject(uid, Class::Pair, child, decodePair));
}
