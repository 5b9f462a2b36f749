#include "XmlObjects.h"

#include <bit>
#include <cstring>
#include <limits>

namespace plist {

namespace {

constexpr Ref noRef = std::numeric_limits<Ref>::max();
constexpr std::size_t blockSize = 256 * 1024;

} // namespace

XmlObjects::XmlObjects() {
    std::fill(std::begin(shared_), std::end(shared_), noRef);
}

Ref XmlObjects::add(const Record& record) {
    records_.push_back(record);
    return static_cast<Ref>(records_.size() - 1);
}

Ref XmlObjects::shared(Shared which, Type type, bool flag) {
    if (shared_[which] == noRef)
        shared_[which] = add(Record{type, flag, 0, 0});
    return shared_[which];
}

unsigned char* XmlObjects::allocate(std::size_t size) {
    blockUsed_ = (blockUsed_ + 1) & ~std::size_t(1); // UTF-16 text is read in place
    if (size > blockSize / 4) {
        // A large value has a block of its own, before the current one.
        auto block = std::make_unique<unsigned char[]>(size);
        unsigned char* at = block.get();
        blocks_.insert(blocks_.empty() ? blocks_.end() : blocks_.end() - 1, std::move(block));
        return at;
    }
    if (blocks_.empty() || blockUsed_ + size > blockSize) {
        blocks_.push_back(std::make_unique<unsigned char[]>(blockSize));
        blockUsed_ = 0;
    }
    unsigned char* at = blocks_.back().get() + blockUsed_;
    blockUsed_ += size;
    return at;
}

Ref XmlObjects::addString(const QString& text) {
    if (text.isEmpty())
        return shared(EmptyString, Type::String);
    bool latin1 = true;
    for (QChar c : text)
        latin1 = latin1 && c.unicode() < 0x100;
    const auto length = static_cast<std::size_t>(text.size());
    unsigned char* at = allocate(latin1 ? length : 2 * length);
    if (latin1) {
        for (std::size_t i = 0; i < length; ++i)
            at[i] = static_cast<unsigned char>(text[qsizetype(i)].unicode());
    } else {
        std::memcpy(at, text.constData(), 2 * length);
    }
    return add(Record{Type::String, latin1, static_cast<std::uint32_t>(length),
                      reinterpret_cast<std::uintptr_t>(at)});
}

Text XmlObjects::textOf(const Record& record) const {
    return {reinterpret_cast<const void*>(record.payload), record.count,
            record.flag ? Text::Encoding::Latin1 : Text::Encoding::Utf16};
}

bool XmlObjects::get(Ref ref, Object* object) {
    if (ref >= records_.size()) {
        error_ = tr("object %1 does not exist").arg(ref);
        return false;
    }
    const Record& record = records_[ref];
    *object = Object();
    object->type = record.type;
    switch (record.type) {
    case Type::Boolean:
        object->boolean = record.flag;
        break;
    case Type::Integer:
        object->integer = static_cast<std::int64_t>(record.payload);
        object->integerUnsigned = record.flag;
        break;
    case Type::Real:
    case Type::Date:
        object->real = std::bit_cast<double>(record.payload);
        break;
    case Type::Uid:
        object->uid = record.payload;
        break;
    case Type::String:
        object->string = textOf(record);
        break;
    case Type::Data:
        object->data = QByteArrayView(reinterpret_cast<const char*>(record.payload),
                                      static_cast<qsizetype>(record.count));
        break;
    case Type::Array:
    case Type::Set:
    case Type::Dictionary:
        object->count = record.count;
        object->elements = &record;
        break;
    case Type::Null:
        break;
    }
    return true;
}

Ref XmlObjects::item(const Object& container, std::size_t index) const {
    const auto* record = static_cast<const Record*>(container.elements);
    if (record->type == Type::Dictionary)
        index += record->count;
    return pool_[record->payload + index];
}

Text XmlObjects::key(const Object& dictionary, std::size_t index) {
    const auto* record = static_cast<const Record*>(dictionary.elements);
    return textOf(records_[pool_[record->payload + index]]);
}

Ref XmlObjects::addBoolean(bool value) {
    return shared(value ? True : False, Type::Boolean, value);
}

Ref XmlObjects::addNumber(Type type, std::uint64_t bits, bool flag) {
    return add(Record{type, flag, 0, bits});
}

Ref XmlObjects::addData(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return shared(EmptyData, Type::Data);
    const auto size = static_cast<std::uint32_t>(bytes.size());
    unsigned char* at = allocate(size);
    std::memcpy(at, bytes.constData(), size);
    return add(Record{Type::Data, false, size, reinterpret_cast<std::uintptr_t>(at)});
}

Ref XmlObjects::addContainer(bool dictionary, const std::deque<Ref>& elements, std::size_t first) {
    const std::size_t size = elements.size() - first;
    if (size == 0)
        return dictionary ? shared(EmptyDictionary, Type::Dictionary)
                          : shared(EmptyArray, Type::Array);
    if (dictionary && size == 2) {
        const Record& key = records_[elements[first]];
        const Record& number = records_[elements[first + 1]];
        if (textOf(key) == QStringLiteral("CF$UID") && number.type == Type::Integer &&
            !number.flag && static_cast<std::int64_t>(number.payload) >= 0)
            return add(Record{Type::Uid, false, 0, number.payload});
    }
    const std::size_t count = dictionary ? size / 2 : size;
    const Ref ref = add(Record{dictionary ? Type::Dictionary : Type::Array, false,
                               static_cast<std::uint32_t>(count), pool_.size()});
    if (dictionary) {
        for (std::size_t i = 0; i < count; ++i)
            pool_.push_back(elements[first + 2 * i]);
        for (std::size_t i = 0; i < count; ++i)
            pool_.push_back(elements[first + 2 * i + 1]);
    } else {
        pool_.insert(pool_.end(), elements.begin() + qsizetype(first), elements.end());
    }
    return ref;
}

QString XmlObjects::textOf(Ref ref) const {
    return textOf(records_[ref]).toString();
}

} // namespace plist
