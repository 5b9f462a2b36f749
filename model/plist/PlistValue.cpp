#include "PlistValue.h"

#include "BinaryPlist.h"
#include "XmlPlist.h"

#include <cstring>

namespace plist {

QString describe(Type type) {
    switch (type) {
    case Type::Null:
        return QStringLiteral("a null value");
    case Type::Boolean:
        return QStringLiteral("a boolean");
    case Type::Integer:
        return QStringLiteral("an integer");
    case Type::Real:
        return QStringLiteral("a real number");
    case Type::Date:
        return QStringLiteral("a date");
    case Type::Data:
        return QStringLiteral("a block of data");
    case Type::String:
        return QStringLiteral("a string");
    case Type::Array:
        return QStringLiteral("an array");
    case Type::Set:
        return QStringLiteral("a set");
    case Type::Dictionary:
        return QStringLiteral("a dictionary");
    case Type::Uid:
        return QStringLiteral("an object reference");
    }
    return QStringLiteral("an unknown value");
}

namespace {

char16_t characterAt(const Text& text, std::size_t i) {
    switch (text.encoding) {
    case Text::Encoding::Latin1:
        return static_cast<const unsigned char*>(text.characters)[i];
    case Text::Encoding::Utf16BigEndian: {
        const auto* bytes = static_cast<const unsigned char*>(text.characters) + 2 * i;
        return static_cast<char16_t>((bytes[0] << 8) | bytes[1]);
    }
    case Text::Encoding::Utf16:
        return static_cast<const char16_t*>(text.characters)[i];
    }
    return 0;
}

} // namespace

QString Text::toString() const {
    const auto length = static_cast<qsizetype>(size);
    if (encoding == Encoding::Latin1)
        return QString::fromLatin1(static_cast<const char*>(characters), length);
    if (encoding == Encoding::Utf16)
        return QString(static_cast<const QChar*>(characters), length);
    QString string(length, Qt::Uninitialized);
    for (std::size_t i = 0; i < size; ++i)
        string[static_cast<qsizetype>(i)] = QChar(characterAt(*this, i));
    return string;
}

bool Text::operator==(const QString& other) const {
    if (static_cast<std::size_t>(other.size()) != size)
        return false;
    const auto* wanted = reinterpret_cast<const char16_t*>(other.constData());
    if (encoding == Encoding::Utf16)
        return std::memcmp(characters, wanted, 2 * size) == 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (characterAt(*this, i) != wanted[i])
            return false;
    }
    return true;
}

double Object::toDouble() const {
    if (type == Type::Real)
        return real;
    if (type == Type::Integer)
        return integerUnsigned ? static_cast<double>(static_cast<std::uint64_t>(integer))
                               : static_cast<double>(integer);
    return 0.0;
}

Value Value::makeInteger(std::int64_t value) {
    Value v;
    v.type = Type::Integer;
    v.integer = value;
    return v;
}

Value Value::makeReal(double value) {
    Value v;
    v.type = Type::Real;
    v.real = value;
    return v;
}

Value Value::makeString(const QString& value) {
    Value v;
    v.type = Type::String;
    v.string = value;
    return v;
}

Value Value::makeUid(std::uint64_t value) {
    Value v;
    v.type = Type::Uid;
    v.uid = value;
    return v;
}

Value Value::makeArray(std::vector<Ref> items) {
    Value v;
    v.type = Type::Array;
    v.items = std::move(items);
    return v;
}

Value Value::makeDictionary() {
    Value v;
    v.type = Type::Dictionary;
    return v;
}

Ref Document::add(Value value) {
    objects.push_back(std::move(value));
    return static_cast<Ref>(objects.size() - 1);
}

std::optional<Value> ObjectSource::value(Ref ref) {
    Object object;
    if (!get(ref, &object))
        return std::nullopt;
    Value value;
    value.type = object.type;
    value.boolean = object.boolean;
    value.integer = object.integer;
    value.integerUnsigned = object.integerUnsigned;
    value.real = object.real;
    value.uid = object.uid;
    if (object.type == Type::String)
        value.string = object.string.toString();
    if (object.type == Type::Data)
        value.data = object.data.toByteArray();
    for (std::size_t i = 0; i < object.count; ++i) {
        value.items.push_back(item(object, i));
        if (object.type == Type::Dictionary)
            value.keys.push_back(key(object, i).toString());
    }
    return value;
}

std::size_t ObjectSource::matchKnownKey(const Text& key) const {
    for (std::size_t i = 0; i < knownKeys_.size(); ++i) {
        if (key == knownKeys_[i])
            return i;
    }
    return unknownKey;
}

DocumentSource::DocumentSource(Document document)
    : document_(std::move(document)) {}

bool DocumentSource::get(Ref ref, Object* object) {
    if (ref >= document_.objects.size()) {
        error_ = QStringLiteral("object %1 does not exist").arg(ref);
        return false;
    }
    const Value& value = document_.objects[ref];
    *object = Object();
    object->type = value.type;
    object->boolean = value.boolean;
    object->integer = value.integer;
    object->integerUnsigned = value.integerUnsigned;
    object->real = value.real;
    object->uid = value.uid;
    object->string = Text::of(value.string);
    object->data = value.data;
    object->count = value.items.size();
    object->elements = &value;
    return true;
}

Ref DocumentSource::item(const Object& container, std::size_t index) const {
    return static_cast<const Value*>(container.elements)->items[index];
}

Text DocumentSource::key(const Object& dictionary, std::size_t index) {
    return Text::of(static_cast<const Value*>(dictionary.elements)->keys[index]);
}

std::size_t DocumentSource::knownKey(const Object& dictionary, std::size_t index) {
    return matchKnownKey(key(dictionary, index));
}

std::unique_ptr<ObjectSource> open(const QByteArray& data, Failure* failure,
                                   const CodecWork& work) {
    if (data.isEmpty()) {
        *failure = {Failure::Kind::Empty, QString()};
        return nullptr;
    }
    if (data.startsWith("bplist"))
        return BinaryReader::open(data, failure);
    if (looksLikeXml(data))
        return openXml(data, failure, work);
    *failure = {Failure::Kind::Foreign, QStringLiteral("it is not a property list")};
    return nullptr;
}

} // namespace plist
