#pragma once

#include "PlistValue.h"

#include <deque>
#include <limits>
#include <unordered_map>

namespace plist {

// Reads the binary form ("bplist00") by object index. Nothing is parsed up front: each object
// is parsed when first asked for and kept, once per distinct offset, so a file whose objects
// refer to one another many times costs no more than its own size. Every offset, count,
// reference and length is checked against the data before it is used.
class BinaryReader : public ObjectSource {
  public:
    static std::unique_ptr<BinaryReader> open(const QByteArray& data, QString* error);

    Ref root() const override { return root_; }
    std::size_t count() const override { return objectCount_; }
    const Value* object(Ref ref) override;

  private:
    explicit BinaryReader(const QByteArray& data);

    bool parse(std::uint64_t offset, Value* value);
    bool readCount(std::uint64_t* pos, unsigned low, std::uint64_t unit, std::uint64_t* count);
    bool readRefs(std::uint64_t* pos, std::uint64_t count, std::vector<Ref>* refs);
    const Value* keyString(Ref ref);
    bool fail(const QString& message);
    std::uint64_t readUnsigned(std::uint64_t pos, unsigned size) const;

    static constexpr std::uint32_t unparsed = std::numeric_limits<std::uint32_t>::max();

    QByteArray data_;
    const unsigned char* bytes_ = nullptr;
    unsigned offsetSize_ = 0;
    unsigned refSize_ = 0;
    std::size_t objectCount_ = 0;
    Ref root_ = 0;
    std::uint64_t tableOffset_ = 0;
    std::vector<std::uint32_t> slotOfObject_;
    std::unordered_map<std::uint64_t, std::uint32_t> slotOfOffset_;
    std::deque<Value> values_;
    Ref current_ = 0;
};

// Writes a document in the binary form. Equal strings (values and dictionary keys alike) are
// stored once; every other object is written as it stands, in the document's order.
QByteArray writeBinary(const Document& document);

} // namespace plist
