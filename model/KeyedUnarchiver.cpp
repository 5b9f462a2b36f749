#include "KeyedUnarchiver.h"

#include <QLocale>

#include <cmath>
#include <new>
#include <stdexcept>

using plist::Object;
using plist::Ref;
using plist::Type;

namespace {

const QString nullMarker = QStringLiteral("$null");
const QString archiverName = QStringLiteral("NSKeyedArchiver");

QString quoted(const QString& text) {
    return u'“' + text + u'”';
}

QString notAScene(const QString& what) {
    return QStringLiteral("The file is not a scene: ") + what + u'.';
}

QString unreadable(const QString& detail) {
    return QStringLiteral("The file is damaged and cannot be read (") + detail +
           QStringLiteral(").");
}

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

std::span<const QString> KeyedUnarchiver::keyTable() {
    static const QString keys[KeyCount] = {
        glpwcXKey,
        glpwcYKey,
        glpwcZKey,
        glpwcRedKey,
        glpwcGreenKey,
        glpwcBlueKey,
        glpwcAlphaKey,
        glppPoint1Key,
        glppPoint2Key,
        QStringLiteral("$archiver"),
        QStringLiteral("$version"),
        QStringLiteral("$top"),
        QStringLiteral("$objects"),
        QStringLiteral("root"),
        QStringLiteral("$class"),
        QStringLiteral("$classname"),
        QStringLiteral("NS.objects"),
        QStringLiteral("CF$UID"),
    };
    return keys;
}

UnarchiveResult KeyedUnarchiver::unarchiveObjectWithData(const QByteArray& data,
                                                         const CodecWork& work) {
    // Whatever a file holds, running out of memory refuses it: it never ends the program.
    try {
        return unarchive(data, work);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    return {nullptr, QStringLiteral("There is not enough memory to open the file.")};
}

UnarchiveResult KeyedUnarchiver::unarchive(const QByteArray& data, const CodecWork& work) {
    // Parsing XML builds its objects first; binary data is read in place as it is decoded.
    const bool xml = !data.startsWith("bplist");
    plist::Failure failure;
    std::unique_ptr<plist::ObjectSource> source =
        plist::open(data, &failure, xml ? work.stage(0.0, 0.7) : work);
    if (!source) {
        switch (failure.kind) {
        case plist::Failure::Kind::Cancelled:
            return {nullptr, QString(), true};
        case plist::Failure::Kind::Refused:
            return {nullptr, failure.detail};
        case plist::Failure::Kind::Empty:
            return {nullptr, QStringLiteral("The file is empty.")};
        case plist::Failure::Kind::Foreign:
            return {nullptr, notAScene(failure.detail)};
        case plist::Failure::Kind::Damaged:
            break;
        }
        return {nullptr, unreadable(failure.detail)};
    }
    source->setKnownKeys(keyTable());
    const CodecWork decoding = xml ? work.stage(0.7, 1.0) : work;
    KeyedUnarchiver unarchiver(*source, decoding, static_cast<std::size_t>(data.size()));
    PointPairs pairs;
    if (!unarchiver.run(&pairs)) {
        if (unarchiver.cancelled_)
            return {nullptr, QString(), true, unarchiver.steps_};
        return {nullptr, unarchiver.error_, false, unarchiver.steps_};
    }
    return {std::make_shared<const PointPairs>(std::move(pairs)), QString(), false,
            unarchiver.steps_};
}

QString KeyedUnarchiver::describe(const Where& where) {
    switch (where.kind) {
    case Where::Kind::Scene:
        return QStringLiteral("the scene");
    case Where::Kind::Pair:
        return QStringLiteral("pair %1").arg(where.pair);
    case Where::Kind::Child:
        break;
    }
    if (*where.key == glppPoint1Key)
        return QStringLiteral("the first point of ") + describe(*where.parent);
    if (*where.key == glppPoint2Key)
        return QStringLiteral("the second point of ") + describe(*where.parent);
    return QStringLiteral("the object under ") + quoted(*where.key) + QStringLiteral(" in ") +
           describe(*where.parent);
}

bool KeyedUnarchiver::fail(const QString& message) {
    if (error_.isEmpty())
        error_ = message;
    return false;
}

bool KeyedUnarchiver::sourceFailed() {
    return fail(unreadable(source_.error()));
}

bool KeyedUnarchiver::damaged(const Where& where, const QString& problem, const QString& detail) {
    QString message = QStringLiteral("The file is damaged: ") + describe(where) + u' ' + problem;
    if (!detail.isEmpty())
        message += QStringLiteral(" (") + detail + u')';
    return fail(message + u'.');
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
    const std::span<const QString> table = keyTable();
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
    if (!valueOf(archive, ArchiverKey, Type::String, &value) || !(value.string == archiverName)) {
        if (failed())
            return false;
        return fail(notAScene(QStringLiteral("it is a property list, but not a keyed archive")));
    }
    if (!valueOf(archive, VersionKey, Type::Integer, &value) || value.integerUnsigned ||
        value.integer != 100000) {
        if (failed())
            return false;
        return fail(
            notAScene(QStringLiteral("it is a keyed archive of a version other than 100000")));
    }
    if (!valueOf(archive, ObjectsKey, Type::Array, &objects_)) {
        if (failed())
            return false;
        return fail(QStringLiteral("The file is damaged: its archived objects are missing (it "
                                   "has no “$objects” array)."));
    }
    if (objects_.count <= dataSize_ / sizeof(std::uint32_t))
        slotOfUid_.assign(objects_.count, 0);
    Object topObjects;
    Entries topEntries;
    if (valueOf(archive, TopKey, Type::Dictionary, &topObjects))
        scan(topObjects, &topEntries);
    if (failed())
        return false;
    std::uint64_t rootUid = 0;
    if (topEntries.has(RootKey)) {
        Object root;
        if (!source_.get(topEntries.refs[RootKey], &root))
            return sourceFailed();
        if (!asUid(root, &rootUid) && failed())
            return false;
    }
    const QString noScene =
        QStringLiteral("The file is damaged: it holds no scene (the archive has no root object).");
    if (rootUid == 0)
        return fail(noScene);

    const Where scene;
    Object array;
    if (!archived(rootUid, &array)) {
        if (failed())
            return false;
        return damaged(scene, QStringLiteral("is missing"),
                       QStringLiteral("object %1 is not in the archive").arg(rootUid));
    }
    if (array.type == Type::String && array.string == nullMarker)
        return fail(noScene);
    const QString notAList = QStringLiteral(", not a list of point pairs");
    if (array.type != Type::Dictionary)
        return fail(
            notAScene(QStringLiteral("it holds ") + plist::describe(array.type) + notAList));
    Entries list;
    scan(array, &list);
    QString className;
    const Class type = classOf(list, scene, &className);
    if (type == Class::None)
        return false;
    if (type != Class::Array && type != Class::MutableArray)
        return fail(notAScene(QStringLiteral("it holds an object of class ") +
                              quoted(className.left(80)) + notAList));
    Object elements;
    if (!valueOf(list, ElementsKey, Type::Array, &elements)) {
        if (failed())
            return false;
        return fail(QStringLiteral("The file is damaged: its list of point pairs is missing (the "
                                   "array has no “NS.objects”)."));
    }

    if (elements.count > maximumScenePairs)
        return fail(QStringLiteral("The file holds more than %L1 pairs, the most Orbalin opens.")
                        .arg(maximumScenePairs));
    pairs->reserve(elements.count);
    for (std::size_t i = 0; i < elements.count; ++i) {
        if (i % codecCheckInterval == 0) {
            if (work_.cancelled()) {
                cancelled_ = true;
                return fail(QStringLiteral("cancelled"));
            }
            work_.report(double(i) / double(elements.count));
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
            return damaged(where, QStringLiteral("is missing"),
                           QStringLiteral("it is stored as ") + plist::describe(element.type) +
                               QStringLiteral(" instead of a reference"));
        }
        if (uid == 0)
            return damaged(where, QStringLiteral("is missing"));
        auto pair = std::static_pointer_cast<GLPointPair>(
            decodeObject(uid, Class::Pair, where, decodePair));
        if (failed())
            return false;
        if (!pair)
            return damaged(where, QStringLiteral("is missing"));
        if (!pair->point1())
            return damaged(where, QStringLiteral("has no first point"));
        if (!pair->point2())
            return damaged(where, QStringLiteral("has no second point"));
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
    if (value.type != Type::Dictionary || value.count != 1 || source_.knownKey(value, 0) != UidKey)
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

namespace {

const char* nameOf(std::uint8_t type) {
    static const char* const names[] = {"", "NSArray", "NSMutableArray", "GLPointPair",
                                        "GLPointWithColor"};
    return type < std::size(names) ? names[type] : "";
}

} // namespace

KeyedUnarchiver::Class KeyedUnarchiver::classOf(const Entries& object, const Where& where,
                                                QString* name) {
    const QString unreadableObject = QStringLiteral("cannot be read");
    if (!object.has(ClassKey)) {
        damaged(where, unreadableObject, QStringLiteral("it has no class"));
        return Class::None;
    }
    Object reference;
    if (!source_.get(object.refs[ClassKey], &reference)) {
        sourceFailed();
        return Class::None;
    }
    std::uint64_t classUid = 0;
    if (!asUid(reference, &classUid)) {
        damaged(where, unreadableObject, QStringLiteral("its class reference is damaged"));
        return Class::None;
    }
    // Class descriptions are shared by many objects and may be large: look at each once,
    // however many UIDs name it.
    if (classUid < objects_.count) {
        const Ref stored = source_.item(objects_, static_cast<std::size_t>(classUid));
        if (auto known = classes_.find(stored); known != classes_.end()) {
            *name = QLatin1String(nameOf(static_cast<std::uint8_t>(known->second)));
            return known->second;
        }
    }
    Object description;
    Ref descriptionRef = 0;
    if (!archived(classUid, &description, &descriptionRef)) {
        damaged(
            where, unreadableObject,
            QStringLiteral("its class is object %1, which is not in the archive").arg(classUid));
        return Class::None;
    }
    Entries entries;
    if (description.type == Type::Dictionary)
        scan(description, &entries);
    Object text;
    if (!valueOf(entries, ClassNameKey, Type::String, &text) || text.string.size == 0) {
        damaged(where, unreadableObject, QStringLiteral("its class description is damaged"));
        return Class::None;
    }
    *name = text.string.toString();
    Class type = Class::Other;
    for (std::uint8_t candidate = 1; candidate <= 4; ++candidate) {
        if (*name == QLatin1String(nameOf(candidate)))
            type = static_cast<Class>(candidate);
    }
    if (type != Class::Other)
        classes_.emplace(descriptionRef, type);
    return type;
}

std::shared_ptr<void> KeyedUnarchiver::decodeObject(std::uint64_t uid, Class type,
                                                    const Where& where, Decode decode) {
    const QString isNot = type == Class::Pair ? QStringLiteral("is not a point pair")
                                              : QStringLiteral("is not a point");
    ++steps_;
    // An object met before is answered from the cache, without looking at its contents again:
    // a file may refer to one large object many times.
    const std::uint32_t* slot = slotOf(uid, false);
    if (slot && *slot != 0) {
        const Decoded& known = decoded_[*slot - 1];
        if (known.type != type) {
            damaged(where, isNot,
                    QStringLiteral("the archive holds a ") +
                        quoted(QLatin1String(nameOf(static_cast<std::uint8_t>(known.type)))) +
                        QStringLiteral(" there"));
            return nullptr;
        }
        if (known.inProgress) {
            damaged(where, QStringLiteral("cannot be read"),
                    QStringLiteral("it refers back to an object that contains it"));
            return nullptr;
        }
        return known.object;
    }
    Object value;
    Ref stored = 0;
    if (!archived(uid, &value, &stored)) {
        if (!failed())
            damaged(where, QStringLiteral("is missing"),
                    QStringLiteral("object %1 is not in the archive").arg(uid));
        return nullptr;
    }
    if (value.type == Type::String && value.string == nullMarker)
        return nullptr;
    if (value.type != Type::Dictionary) {
        damaged(where, isNot,
                QStringLiteral("the archive holds ") + plist::describe(value.type) +
                    QStringLiteral(" there"));
        return nullptr;
    }
    frames_.push_back(Frame{Entries(), where});
    scanStored(value, stored, &frames_.back().entries);
    QString name;
    const Class actual = classOf(frames_.back().entries, where, &name);
    if (actual != type) {
        frames_.pop_back();
        if (actual == Class::Other)
            damaged(where, isNot,
                    QStringLiteral("the archive holds an object of class ") +
                        quoted(name.left(80)) + QStringLiteral(", which a scene may not contain"));
        else if (actual != Class::None)
            damaged(where, isNot,
                    QStringLiteral("the archive holds a ") + quoted(name) +
                        QStringLiteral(" there"));
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
        return damaged(child, QStringLiteral("is missing"),
                       plist::describe(value.type) + QStringLiteral(" is stored under ") +
                           quoted(key) + QStringLiteral(" where an object reference belongs"));
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
    auto problem = [&key] {
        if (key == glpwcXKey || key == glpwcYKey || key == glpwcZKey)
            return QStringLiteral("has no valid position");
        if (key == glpwcRedKey || key == glpwcGreenKey || key == glpwcBlueKey ||
            key == glpwcAlphaKey)
            return QStringLiteral("has no valid colour");
        return QStringLiteral("has an invalid value");
    };
    if (!value.isNumber()) {
        damaged(frame.where, problem(),
                plist::describe(value.type) + QStringLiteral(" is stored under ") + quoted(key) +
                    QStringLiteral(" where a number belongs"));
        return 0.0;
    }
    const double number = value.toDouble();
    if (!std::isfinite(number)) {
        damaged(frame.where, problem(),
                QStringLiteral("the number under ") + quoted(key) +
                    QStringLiteral(" is not finite"));
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
