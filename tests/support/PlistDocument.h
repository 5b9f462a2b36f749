#pragma once

// Property lists held whole in memory, for tests: documents built object by object and written
// as they stand (damage and sharing no archiver would produce), and XML read back into one.

#include "model/plist/PlistValue.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace plist {

// A property-list object held in memory, for building documents.
struct Value {
    Type type = Type::Null;
    bool boolean = false;
    std::int64_t integer = 0;
    bool integerUnsigned = false;
    double real = 0.0;
    std::uint64_t uid = 0;
    QString string;
    QByteArray data;
    // Array and Set: the elements. Dictionary: the values, in step with `keys`.
    std::vector<Ref> items;
    std::vector<QString> keys;

    static Value makeInteger(std::int64_t value);
    static Value makeReal(double value);
    static Value makeString(const QString& value);
    static Value makeUid(std::uint64_t value);
    static Value makeArray(std::vector<Ref> items);
    static Value makeDictionary();
};

// A fully built property list: what readXml() yields and what writeBinary() takes.
struct Document {
    std::vector<Value> objects;
    Ref root = 0;

    Ref add(Value value);
};

// Object `ref` of a source copied out whole, or nothing when the source finds it damaged.
std::optional<Value> copied(ObjectSource& source, Ref ref);

// Writes a document in the binary form, every object as it stands and in the document's order.
// Dictionary keys become references to string objects (see BinaryWriter).
QByteArray writeBinary(const Document& document);

// Reads the XML form into a document.
bool readXml(const QByteArray& data, Document* document, ReadProblem* problem);

} // namespace plist
