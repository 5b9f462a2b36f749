#pragma once

#include "PlistValue.h"

#include <QCoreApplication>

#include <deque>
#include <memory>
#include <vector>

namespace plist {

// The objects of an XML property list, held compactly as the XML reader builds them (see
// openXml()): each takes 16 bytes and 4 for its place in its container, and strings one byte
// per character (two beyond Latin-1); booleans, empty strings, empty data and empty containers
// are one shared object each.
class XmlObjects : public ObjectSource {
    Q_DECLARE_TR_FUNCTIONS(XmlObjects)

  public:
    XmlObjects();

    Ref root() const override { return root_; }
    std::size_t count() const override { return records_.size(); }
    bool get(Ref ref, Object* object) override;
    Ref item(const Object& container, std::size_t index) const override;
    Text key(const Object& dictionary, std::size_t index) override;
    std::size_t knownKey(const Object& dictionary, std::size_t index) override {
        return matchKnownKey(key(dictionary, index));
    }

    void setRoot(Ref ref) { root_ = ref; }
    Ref addBoolean(bool value);
    // Integer (`flag`: held unsigned), Real or Date, by the bits of its value.
    Ref addNumber(Type type, std::uint64_t bits, bool flag = false);
    Ref addString(const QString& text);
    Ref addData(const QByteArray& bytes);
    // A container of `elements` from `first` on (a dictionary's as key, value, key, value...).
    // A dictionary whose only key is "CF$UID" with a non-negative integer becomes a UID.
    Ref addContainer(bool dictionary, const std::deque<Ref>& elements, std::size_t first);
    // The text of string `ref`, for messages.
    QString textOf(Ref ref) const;

  private:
    struct Record {
        Type type = Type::Null;
        bool flag = false;         // Boolean: the value; Integer: held unsigned; String: Latin-1
        std::uint32_t count = 0;   // String and Data: their length; containers: elements
        std::uint64_t payload = 0; // numbers: their bits; String and Data: where they are;
                                   // containers: the first element in pool_
    };
    enum Shared { True, False, EmptyString, EmptyData, EmptyArray, EmptyDictionary, SharedCount };

    Ref add(const Record& record);
    Ref shared(Shared which, Type type, bool flag = false);
    // Room for `size` bytes that stay where they are while the source lives.
    unsigned char* allocate(std::size_t size);
    Text textOf(const Record& record) const;

    std::deque<Record> records_;
    std::deque<Ref> pool_;
    std::vector<std::unique_ptr<unsigned char[]>> blocks_;
    std::size_t blockUsed_ = 0;
    Ref shared_[SharedCount];
    Ref root_ = 0;
};

} // namespace plist
