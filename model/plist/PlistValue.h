#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

// A property list held as a flat table of objects. Containers refer to their elements by index
// into the table instead of owning them, so an object shared by many containers is held once,
// cycles cost nothing, and nothing ever walks or frees the data recursively.
namespace plist {

using Ref = std::uint32_t;

enum class Type : std::uint8_t {
    Null,
    Boolean,
    Integer,
    Real,
    Date, // seconds since 2001-01-01 00:00:00 UTC, in `real`
    Data,
    String,
    Array,
    Set,
    Dictionary,
    Uid,
};

// Lower-case English name of a type, for messages ("a string", "an array").
QString describe(Type type);

struct Value {
    Type type = Type::Null;
    bool boolean = false;
    // Integer: the value. `integerUnsigned` marks one above INT64_MAX held as its bit pattern.
    std::int64_t integer = 0;
    bool integerUnsigned = false;
    double real = 0.0;
    std::uint64_t uid = 0;
    QString string;
    QByteArray data;
    // Array and Set: the elements. Dictionary: the values, in step with `keys`.
    std::vector<Ref> items;
    std::vector<QString> keys;

    // A number as a double: integers convert, everything else is not a number.
    bool isNumber() const { return type == Type::Integer || type == Type::Real; }
    double toDouble() const;
    // The value under `key` of a dictionary, or nullptr when it has none.
    const Ref* find(const QString& key) const;

    static Value makeInteger(std::int64_t value);
    static Value makeReal(double value);
    static Value makeString(const QString& value);
    static Value makeUid(std::uint64_t value);
    static Value makeArray(std::vector<Ref> items);
    static Value makeDictionary();
};

// A fully built property list: what the XML reader yields and what the writer takes.
struct Document {
    std::vector<Value> objects;
    Ref root = 0;

    Ref add(Value value);
};

// Objects of a property list by index. Readers may parse each object only when it is asked
// for; a failure leaves a message in error() and answers nullptr.
class ObjectSource {
  public:
    virtual ~ObjectSource() = default;
    virtual Ref root() const = 0;
    virtual std::size_t count() const = 0;
    virtual const Value* object(Ref ref) = 0;
    const QString& error() const { return error_; }

  protected:
    QString error_;
};

// Wraps a document that is already in memory.
class DocumentSource : public ObjectSource {
  public:
    explicit DocumentSource(Document document);
    Ref root() const override { return document_.root; }
    std::size_t count() const override { return document_.objects.size(); }
    const Value* object(Ref ref) override;

  private:
    Document document_;
};

// Recognises the binary and the XML form. On failure returns nullptr and sets `error` to a
// plain-English reason.
std::unique_ptr<ObjectSource> open(const QByteArray& data, QString* error);

} // namespace plist
