#pragma once

#include "PlistValue.h"

#include <QHash>

#include <vector>

namespace plist {

// Reads the binary form ("bplist00") in place: nothing is parsed up front and nothing is copied;
// each object is read from the data when asked for. Every offset, count, reference and length
// is checked against the data before it is used.
class BinaryReader : public ObjectSource {
  public:
    static std::unique_ptr<BinaryReader> open(const QByteArray& data, Failure* failure);

    Ref root() const override { return root_; }
    std::size_t count() const override { return objectCount_; }
    bool get(Ref ref, Object* object) override;
    Ref item(const Object& container, std::size_t index) const override;
    Text key(const Object& dictionary, std::size_t index) override;
    std::size_t knownKey(const Object& dictionary, std::size_t index) override;

  private:
    explicit BinaryReader(const QByteArray& data);

    bool parse(Ref ref, std::uint64_t offset, Object* object);
    bool readCount(Ref ref, std::uint64_t* pos, unsigned low, std::uint64_t unit,
                   std::uint64_t* count);
    bool checkRefs(Ref ref, const unsigned char* refs, std::uint64_t count);
    bool checkKey(Ref key);
    Ref keyRef(const Object& dictionary, std::size_t index) const;
    bool offsetOf(Ref ref, std::uint64_t* offset);
    bool fail(const QString& message);

    QByteArray data_; // shared with the caller, keeps the bytes alive
    const unsigned char* bytes_ = nullptr;
    unsigned offsetSize_ = 0;
    unsigned refSize_ = 0;
    std::size_t objectCount_ = 0;
    Ref root_ = 0;
    std::uint64_t tableOffset_ = 0;
    // Per object, once it has been checked as a dictionary key: its known-key position + 1, or
    // keyChecked for any other string. Zero until then.
    std::vector<std::uint8_t> keyOfObject_;
    // Per object, once it has been read and checked as a container.
    std::vector<bool> checked_;
};

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
    QByteArray finish(Ref root, const CodecWork* work = nullptr);

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

// Writes a document in the binary form, every object as it stands and in the document's order.
// Dictionary keys become references to string objects (see BinaryWriter).
QByteArray writeBinary(const Document& document);

} // namespace plist
