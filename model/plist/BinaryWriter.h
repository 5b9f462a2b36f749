#pragma once

#include "PlistValue.h"

#include <QHash>

#include <vector>

namespace plist {

// Builds a binary property list object by object and lays it out in finish(). Each object takes
// a few bytes until then; references are object numbers in the order objects were added.
// Dictionary keys are given as text: equal keys share one string object, which is the first
// string object added with that text, or else one added after all the others.
class BinaryWriter {
  public:
    using KeyId = std::uint32_t;

    Ref addNull();
    Ref addBoolean(bool value);
    Ref addInteger(std::int64_t value, bool integerUnsigned = false);
    Ref addReal(double value);
    Ref addDate(double value);
    Ref addUid(std::uint64_t value);
    Ref addString(const QString& value);
    Ref addData(const QByteArray& value);
    Ref addArray(std::span<const Ref> items, Type type = Type::Array);
    Ref addDictionary(std::span<const KeyId> keys, std::span<const Ref> values);
    KeyId key(const QString& text);

    // For containers that hold objects added after them: take the number now, fill it later.
    Ref addPending();
    void setArray(Ref ref, std::span<const Ref> items, Type type = Type::Array);
    void setDictionary(Ref ref, std::span<const KeyId> keys, std::span<const Ref> values);

    // Room for this many objects and container elements (a dictionary entry counts twice).
    void reserve(std::size_t objects, std::size_t elements);
    // Lays the objects out. With `work`, reports progress and answers no data once cancelled.
    QByteArray finish(Ref root, BackgroundTask* task = nullptr);

  private:
    enum class Kind : std::uint8_t {
        Null,
        False,
        True,
        Integer,
        Negative,
        Unsigned,
        Real,
        Date,
        Uid,
        String,
        Data,
        Array,
        Set,
        Dictionary
    };
    struct Entry {
        Kind kind;
        std::uint32_t count;   // String: text id; containers: elements
        std::uint64_t payload; // number bits, data index or first element in pool_
    };
    struct TextInfo {
        QString text;
        Ref firstString;
    };

    Ref add(Kind kind, std::uint32_t count, std::uint64_t payload);
    KeyId textId(const QString& text);
    std::uint64_t encodedSize(const Entry& entry, unsigned refSize) const;

    std::vector<Entry> entries_;
    std::vector<std::uint32_t> pool_; // container elements; dictionaries: keys, then values
    std::vector<TextInfo> texts_;
    QHash<QString, KeyId> textIds_;
    // The last few key strings seen, by their shared character data: keys usually come from a
    // handful of constants, and comparing addresses is cheaper than hashing.
    std::vector<std::pair<QString, KeyId>> recentKeys_;
    std::vector<QByteArray> data_;
    std::vector<bool> ascii_; // per text, once finish() has looked
};

} // namespace plist
