#include "KeyedUnarchiver.h"

#include <cmath>

using plist::Ref;
using plist::Type;
using plist::Value;

namespace {

const QString nullMarker = QStringLiteral("$null");

bool allowedClass(const QString& name) {
    return name == QLatin1String("NSArray") || name == QLatin1String("NSMutableArray") ||
           name == QLatin1String("GLPointPair") || name == QLatin1String("GLPointWithColor");
}

std::shared_ptr<void> decodePoint(KeyedUnarchiver& coder) {
    return std::make_shared<GLPointWithColor>(coder);
}

std::shared_ptr<void> decodePair(KeyedUnarchiver& coder) {
    return std::make_shared<GLPointPair>(coder);
}

} // namespace

KeyedUnarchiver::KeyedUnarchiver(plist::ObjectSource& source)
    : source_(source) {}

UnarchiveResult KeyedUnarchiver::unarchiveObjectWithData(const QByteArray& data) {
    QString error;
    std::unique_ptr<plist::ObjectSource> source = plist::open(data, &error);
    if (!source)
        return {nullptr, error};
    KeyedUnarchiver unarchiver(*source);
    PointPairs pairs;
    if (!unarchiver.run(&pairs))
        return {nullptr, unarchiver.error_};
    return {std::make_shared<const PointPairs>(std::move(pairs)), QString()};
}

bool KeyedUnarchiver::fail(const QString& message) {
    if (error_.isEmpty())
        error_ = message;
    return false;
}

bool KeyedUnarchiver::sourceFailed() {
    return fail(source_.error());
}

bool KeyedUnarchiver::run(PointPairs* pairs) {
    const Value* top = source_.object(source_.root());
    if (!top)
        return sourceFailed();
    auto entry = [&](const Value& dictionary, const char* key, Type type) -> const Value* {
        const Ref* ref = dictionary.find(QLatin1String(key));
        if (!ref)
            return nullptr;
        const Value* value = source_.object(*ref);
        if (!value) {
            sourceFailed();
            return nullptr;
        }
        return value->type == type ? value : nullptr;
    };
    const Value* archiver =
        top->type == Type::Dictionary ? entry(*top, "$archiver", Type::String) : nullptr;
    if (failed())
        return false;
    if (!archiver || archiver->string != QLatin1String("NSKeyedArchiver"))
        return fail(QStringLiteral("the file is a property list but not a keyed archive"));
    const Value* version = entry(*top, "$version", Type::Integer);
    if (failed())
        return false;
    if (!version || version->integerUnsigned || version->integer != 100000)
        return fail(QStringLiteral("the keyed archive has a version other than 100000"));
    objects_ = entry(*top, "$objects", Type::Array);
    if (failed())
        return false;
    if (!objects_)
        return fail(QStringLiteral("the keyed archive has no \"$objects\" list"));
    const Value* topObjects = entry(*top, "$top", Type::Dictionary);
    if (failed())
        return false;
    const Ref* rootRef = topObjects ? topObjects->find(QStringLiteral("root")) : nullptr;
    const Value* root = rootRef ? source_.object(*rootRef) : nullptr;
    if (rootRef && !root)
        return sourceFailed();
    std::uint64_t rootUid = 0;
    if (root && !asUid(*root, &rootUid) && failed())
        return false;
    if (rootUid == 0)
        return fail(QStringLiteral("the keyed archive holds no root object"));

    const QString where = QStringLiteral("the root object");
    const Value* array = archived(rootUid, where);
    if (!array)
        return false;
    if (array->type == Type::String && array->string == nullMarker)
        return fail(QStringLiteral("the keyed archive holds no root object"));
    if (array->type != Type::Dictionary)
        return fail(
            where +
            QStringLiteral(" is %1, not a list of point pairs").arg(plist::describe(array->type)));
    const QString className = classOf(*array, where);
    if (className.isEmpty())
        return false;
    if (className != QLatin1String("NSArray") && className != QLatin1String("NSMutableArray"))
        return fail(
            where +
            QStringLiteral(" is of class \"%1\", not a list of point pairs").arg(className));
    const Value* elements = entry(*array, "NS.objects", Type::Array);
    if (failed())
        return false;
    if (!elements)
        return fail(QStringLiteral("the list of point pairs has no \"NS.objects\" array"));

    contexts_.push_back({array, QStringLiteral("the list of point pairs")});
    pairs->reserve(elements->items.size());
    for (std::size_t i = 0; i < elements->items.size(); ++i) {
        const QString pairWhere = QStringLiteral("pair %1").arg(i + 1);
        const Value* element = source_.object(elements->items[i]);
        if (!element)
            return sourceFailed();
        std::uint64_t uid = 0;
        if (!asUid(*element, &uid)) {
            if (failed())
                return false;
            return fail(pairWhere + QStringLiteral(" is stored as %1 instead of a reference")
                                        .arg(plist::describe(element->type)));
        }
        if (uid == 0)
            return fail(pairWhere + QStringLiteral(" is missing"));
        auto pair = std::static_pointer_cast<GLPointPair>(
            decodeObject(uid, QStringLiteral("GLPointPair"), QStringLiteral("a point pair"),
                         pairWhere, decodePair));
        if (failed())
            return false;
        if (!pair)
            return fail(pairWhere + QStringLiteral(" is missing"));
        if (!pair->point1())
            return fail(pairWhere + QStringLiteral(" has no first point"));
        if (!pair->point2())
            return fail(pairWhere + QStringLiteral(" has no second point"));
        pairs->push_back(std::move(pair));
    }
    contexts_.pop_back();
    return true;
}

bool KeyedUnarchiver::asUid(const Value& value, std::uint64_t* uid) {
    *uid = 0;
    if (value.type == Type::Uid) {
        *uid = value.uid;
        return true;
    }
    // Converters that know no UID type leave the XML form {"CF$UID": n} behind, also in
    // binary files; it means the same.
    if (value.type != Type::Dictionary || value.keys.size() != 1 ||
        value.keys[0] != QLatin1String("CF$UID"))
        return false;
    const Value* number = source_.object(value.items[0]);
    if (!number)
        return sourceFailed();
    if (number->type != Type::Integer || number->integerUnsigned || number->integer < 0)
        return false;
    *uid = static_cast<std::uint64_t>(number->integer);
    return true;
}

const Value* KeyedUnarchiver::archived(std::uint64_t uid, const QString& where) {
    if (uid >= objects_->items.size()) {
        fail(where +
             QStringLiteral(" refers to object %1, which the archive does not hold").arg(uid));
        return nullptr;
    }
    const Value* value = source_.object(objects_->items[static_cast<std::size_t>(uid)]);
    if (!value)
        sourceFailed();
    return value;
}

QString KeyedUnarchiver::classOf(const Value& object, const QString& where) {
    const Ref* classRef = object.find(QStringLiteral("$class"));
    if (!classRef) {
        fail(where + QStringLiteral(" has no class"));
        return QString();
    }
    const Value* reference = source_.object(*classRef);
    if (!reference) {
        sourceFailed();
        return QString();
    }
    std::uint64_t classUid = 0;
    if (!asUid(*reference, &classUid)) {
        fail(where + QStringLiteral(" has a damaged class reference"));
        return QString();
    }
    // Class descriptions are shared by many objects and may be large: look at each once.
    if (auto known = classNames_.find(classUid); known != classNames_.end())
        return known->second;
    const Value* description = archived(classUid, where + QStringLiteral("'s class"));
    if (!description)
        return QString();
    const Ref* nameRef = description->find(QStringLiteral("$classname"));
    const Value* name = nameRef ? source_.object(*nameRef) : nullptr;
    if (nameRef && !name) {
        sourceFailed();
        return QString();
    }
    if (!name || name->type != Type::String || name->string.isEmpty()) {
        fail(where + QStringLiteral(" has a damaged class description"));
        return QString();
    }
    if (!allowedClass(name->string)) {
        fail(where + QStringLiteral(" is of class \"%1\", which a scene may not contain")
                         .arg(name->string.left(80)));
        return QString();
    }
    classNames_.emplace(classUid, name->string);
    return name->string;
}

std::shared_ptr<void>
KeyedUnarchiver::decodeObject(std::uint64_t uid, const QString& className, const QString& expected,
                              const QString& where,
                              std::shared_ptr<void> (*decode)(KeyedUnarchiver&)) {
    // An object met before is answered from the cache, without looking at its contents again:
    // a file may refer to one large object many times.
    if (auto found = decoded_.find(uid); found != decoded_.end()) {
        const Decoded& known = found->second;
        if (known.className != className) {
            fail(where + QStringLiteral(" is a %1, not %2").arg(known.className, expected));
            return nullptr;
        }
        if (known.inProgress) {
            fail(where + QStringLiteral(" refers back to an object that contains it"));
            return nullptr;
        }
        return known.object;
    }
    const Value* value = archived(uid, where);
    if (!value)
        return nullptr;
    if (value->type == Type::String && value->string == nullMarker)
        return nullptr;
    if (value->type != Type::Dictionary) {
        fail(where + QStringLiteral(" is %1, not %2").arg(plist::describe(value->type), expected));
        return nullptr;
    }
    const QString actual = classOf(*value, where);
    if (actual.isEmpty())
        return nullptr;
    if (actual != className) {
        fail(where + QStringLiteral(" is a %1, not %2").arg(actual, expected));
        return nullptr;
    }
    Decoded& entry = decoded_[uid];
    entry.className = className;
    entry.inProgress = true;
    contexts_.push_back({value, where});
    std::shared_ptr<void> object = decode(*this);
    contexts_.pop_back();
    // Map entries stay where they are while decode() adds others.
    entry.inProgress = false;
    if (failed())
        return nullptr;
    entry.object = object;
    return object;
}

bool KeyedUnarchiver::referenceForKey(const QString& key, std::uint64_t* uid) {
    *uid = 0;
    if (failed())
        return false;
    const Ref* ref = contexts_.back().value->find(key);
    if (!ref)
        return true;
    const Value* value = source_.object(*ref);
    if (!value)
        return sourceFailed();
    if (!asUid(*value, uid)) {
        if (failed())
            return false;
        return fail(contexts_.back().where +
                    QStringLiteral(" has %1 under \"%2\" where an object reference belongs")
                        .arg(plist::describe(value->type), key));
    }
    return true;
}

QString KeyedUnarchiver::describeChild(const QString& key) const {
    const QString& where = contexts_.back().where;
    if (key == glppPoint1Key)
        return QStringLiteral("the first point of ") + where;
    if (key == glppPoint2Key)
        return QStringLiteral("the second point of ") + where;
    return QStringLiteral("the object under \"%1\" in %2").arg(key, where);
}

double KeyedUnarchiver::decodeDoubleForKey(const QString& key) {
    if (failed() || contexts_.empty())
        return 0.0;
    const Context& context = contexts_.back();
    const Ref* ref = context.value->find(key);
    if (!ref)
        return 0.0;
    const Value* value = source_.object(*ref);
    if (!value) {
        sourceFailed();
        return 0.0;
    }
    if (!value->isNumber()) {
        fail(context.where + QStringLiteral(" has %1 under \"%2\" where a number belongs")
                                 .arg(plist::describe(value->type), key));
        return 0.0;
    }
    const double number = value->toDouble();
    if (!std::isfinite(number)) {
        fail(context.where +
             QStringLiteral(" has a number under \"%1\" that is not finite").arg(key));
        return 0.0;
    }
    return number;
}

template <>
std::shared_ptr<GLPointWithColor>
KeyedUnarchiver::decodeObjectForKey<GLPointWithColor>(const QString& key) {
    std::uint64_t uid = 0;
    if (contexts_.empty() || !referenceForKey(key, &uid) || uid == 0)
        return nullptr;
    return std::static_pointer_cast<GLPointWithColor>(
        decodeObject(uid, QStringLiteral("GLPointWithColor"), QStringLiteral("a coloured point"),
                     describeChild(key), decodePoint));
}

template <>
std::shared_ptr<GLPointPair> KeyedUnarchiver::decodeObjectForKey<GLPointPair>(const QString& key) {
    std::uint64_t uid = 0;
    if (contexts_.empty() || !referenceForKey(key, &uid) || uid == 0)
        return nullptr;
    return std::static_pointer_cast<GLPointPair>(decodeObject(uid, QStringLiteral("GLPointPair"),
                                                              QStringLiteral("a point pair"),
                                                              describeChild(key), decodePair));
}
