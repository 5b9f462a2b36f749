#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include "base/BackgroundTask.h"

#include <cstdint>
#include <memory>
#include <span>
#include <utility>
#include <vector>

// Property lists, binary and XML. Readers hand out objects as views of the data they read, with
// containers naming their elements by index (Ref), so reading costs no allocation per object and
// an object shared by many containers or by itself costs nothing extra.
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

// Why data could not be read as a property list, in the format's terms: the scene reader words
// it for the user.
struct ReadProblem {
    enum class Kind : std::uint8_t {
        Empty,     // there is no data at all
        Foreign,   // the data is something else; `detail` says what ("it is not a property list")
        Damaged,   // a property list, broken; `detail` says where, in the format's own terms
        Refused,   // beyond what this program reads; `detail` is the phrase for the user
        Cancelled, // the work was cancelled
    };
    Kind kind = Kind::Damaged;
    QString detail;
};

// A string where the reader found it, not copied: one byte per character (read as Latin-1),
// UTF-16 big-endian as the binary form stores it, or a QString's own characters.
struct Text {
    enum class Encoding : std::uint8_t { Latin1, Utf16BigEndian, Utf16 };
    const void* characters = nullptr;
    std::size_t size = 0;
    Encoding encoding = Encoding::Latin1;

    QString toString() const;
    bool operator==(const QString& other) const;
};

// One object as a reader hands it out: scalars by value, strings and data as views, containers
// as a count whose elements ObjectSource::item() and key() read. Valid while its source lives.
struct Object {
    Type type = Type::Null;
    bool boolean = false;
    // Integer: the value. `integerUnsigned` marks one above INT64_MAX held as its bit pattern.
    bool integerUnsigned = false;
    std::int64_t integer = 0;
    double real = 0.0;
    std::uint64_t uid = 0;
    Text string;
    QByteArrayView data;
    // Array and Set: elements; Dictionary: entries. Where they are is the source's business.
    std::size_t count = 0;
    const void* elements = nullptr;

    // A number as a double: integers convert, everything else is not a number.
    bool isNumber() const { return type == Type::Integer || type == Type::Real; }
    double toDouble() const;
};

// Objects of a property list by index. Readers check each object when it is asked for; a
// failure leaves the detail in error() (its kind is Damaged).
class ObjectSource {
  public:
    static constexpr std::size_t unknownKey = 0xFF;

    virtual ~ObjectSource() = default;
    virtual Ref root() const = 0;
    virtual std::size_t count() const = 0;
    // Reads object `ref`, checked whole: its size lies inside the data, every reference in it
    // names an object, and every dictionary key is a string. False when it is damaged.
    virtual bool get(Ref ref, Object* object) = 0;
    // Element `index` of an array or set, or the value of entry `index` of a dictionary.
    virtual Ref item(const Object& container, std::size_t index) const = 0;
    // The key of entry `index` of a dictionary.
    virtual Text key(const Object& dictionary, std::size_t index) = 0;
    // The key of entry `index` as its position in the table given to setKnownKeys(), or
    // unknownKey: the cheap way to look keys up when a reader knows what it looks for.
    virtual std::size_t knownKey(const Object& dictionary, std::size_t index) = 0;
    // At most 254 keys; the strings must outlive the source.
    void setKnownKeys(std::span<const QString> keys) { knownKeys_ = keys; }

    const QString& error() const { return error_; }

  protected:
    std::size_t matchKnownKey(const Text& key) const;

    QString error_;
    std::span<const QString> knownKeys_;
};

// Recognises the binary and the XML form. The data is shared, not copied. On failure returns
// nullptr and says why. Reading XML reports its progress to `task`, if any, and stops when it
// is cancelled; binary data is read only as its objects are asked for.
std::unique_ptr<ObjectSource> open(const QByteArray& data, ReadProblem* problem,
                                   BackgroundTask* task = nullptr);

} // namespace plist
