#include "PlistDocument.h"

#include "model/plist/BinaryWriter.h"
#include "model/plist/XmlPlist.h"

namespace plist {

std::optional<Value> copied(ObjectSource& source, Ref ref) {
    Object object;
    if (!source.get(ref, &object))
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
        value.items.push_back(source.item(object, i));
        if (object.type == Type::Dictionary)
            value.keys.push_back(source.key(object, i).toString());
    }
    return value;
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

QByteArray writeBinary(const Document& document) {
    BinaryWriter writer;
    std::vector<BinaryWriter::KeyId> keys;
    for (const Value& value : document.objects) {
        switch (value.type) {
        case Type::Null:
            writer.addNull();
            break;
        case Type::Boolean:
            writer.addBoolean(value.boolean);
            break;
        case Type::Integer:
            writer.addInteger(value.integer, value.integerUnsigned);
            break;
        case Type::Real:
            writer.addReal(value.real);
            break;
        case Type::Date:
            writer.addDate(value.real);
            break;
        case Type::Data:
            writer.addData(value.data);
            break;
        case Type::String:
            writer.addString(value.string);
            break;
        case Type::Array:
        case Type::Set:
            writer.addArray(value.items, value.type);
            break;
        case Type::Dictionary:
            keys.clear();
            for (const QString& key : value.keys)
                keys.push_back(writer.key(key));
            writer.addDictionary(keys, value.items);
            break;
        case Type::Uid:
            writer.addUid(value.uid);
            break;
        }
    }
    return writer.finish(document.root);
}

bool readXml(const QByteArray& data, Document* document, ReadProblem* problem) {
    std::unique_ptr<ObjectSource> source = openXml(data, problem);
    if (!source)
        return false;
    document->objects.clear();
    for (Ref ref = 0; ref < source->count(); ++ref)
        document->objects.push_back(*copied(*source, ref));
    document->root = source->root();
    return true;
}

} // namespace plist
