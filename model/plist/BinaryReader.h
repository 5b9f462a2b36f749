#pragma once

#include "PlistValue.h"

#include <QCoreApplication>

#include <vector>

namespace plist {

// Reads the binary form ("bplist00") in place: nothing is parsed up front and nothing is copied;
// each object is read from the data when asked for. Every offset, count, reference and length
// is checked against the data before it is used.
class BinaryReader : public ObjectSource {
    Q_DECLARE_TR_FUNCTIONS(BinaryReader)

  public:
    static std::unique_ptr<BinaryReader> open(const QByteArray& data, ReadProblem* problem);

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

} // namespace plist
