#include "PlistValue.h"

#include "BinaryPlist.h"
#include "XmlPlist.h"

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

double Value::toDouble() const {
    if (type == Type::Real)
        return real;
    if (type == Type::Integer)
        return integerUnsigned ? static_cast<double>(static_cast<std::uint64_t>(integer))
                               : static_cast<double>(integer);
    return 0.0;
}

const Ref* Value::find(const QString& key) const {
    if (type != Type::Dictionary)
        return nullptr;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i] == key)
            return &items[i];
    }
    return nullptr;
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

DocumentSource::DocumentSource(Document document)
    : document_(std::move(document)) {}

const Value* DocumentSource::object(Ref ref) {
    if (ref >= document_.objects.size()) {
        error_ = QStringLiteral("object %1 does not exist").arg(ref);
        return nullptr;
    }
    return &document_.objects[ref];
}

std::unique_ptr<ObjectSource> open(const QByteArray& data, QString* error) {
    if (data.startsWith("bplist"))
        return BinaryReader::open(data, error);
    if (looksLikeXml(data)) {
        Document document;
        if (!readXml(data, &document, error))
            return nullptr;
        return std::make_unique<DocumentSource>(std::move(document));
    }
    *error = QStringLiteral("the file is not a property list");
    return nullptr;
}

} // namespace plist
