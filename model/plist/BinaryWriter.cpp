#include "BinaryWriter.h"

#include "BinaryFormat.h"

#include <bit>
#include <cstring>
#include <limits>

namespace plist {

using binary::headerSize;
using binary::trailerSize;

Ref BinaryWriter::add(Kind kind, std::uint32_t count, std::uint64_t payload) {
    entries_.push_back({kind, count, payload});
    return static_cast<Ref>(entries_.size() - 1);
}

Ref BinaryWriter::addNull() {
    return add(Kind::Null, 0, 0);
}

Ref BinaryWriter::addBoolean(bool value) {
    return add(value ? Kind::True : Kind::False, 0, 0);
}

Ref BinaryWriter::addInteger(std::int64_t value, bool integerUnsigned) {
    const Kind kind = integerUnsigned ? Kind::Unsigned : value < 0 ? Kind::Negative : Kind::Integer;
    return add(kind, 0, static_cast<std::uint64_t>(value));
}

Ref BinaryWriter::addReal(double value) {
    return add(Kind::Real, 0, std::bit_cast<std::uint64_t>(value));
}

Ref BinaryWriter::addDate(double value) {
    return add(Kind::Date, 0, std::bit_cast<std::uint64_t>(value));
}

Ref BinaryWriter::addUid(std::uint64_t value) {
    return add(Kind::Uid, 0, value);
}

BinaryWriter::KeyId BinaryWriter::textId(const QString& text) {
    auto found = textIds_.constFind(text);
    if (found != textIds_.constEnd())
        return found.value();
    const auto id = static_cast<KeyId>(texts_.size());
    textIds_.insert(text, id);
    texts_.push_back({text, std::numeric_limits<Ref>::max()});
    return id;
}

Ref BinaryWriter::addString(const QString& value) {
    const KeyId id = textId(value);
    const Ref ref = add(Kind::String, id, 0);
    if (texts_[id].firstString == std::numeric_limits<Ref>::max())
        texts_[id].firstString = ref;
    return ref;
}

BinaryWriter::KeyId BinaryWriter::key(const QString& text) {
    for (const auto& [held, id] : recentKeys_) {
        if (held.constData() == text.constData() && held.size() == text.size())
            return id;
    }
    const KeyId id = textId(text);
    // Holding the string keeps its characters alive, so their address cannot be reused.
    if (recentKeys_.size() < 16)
        recentKeys_.emplace_back(text, id);
    return id;
}

Ref BinaryWriter::addData(const QByteArray& value) {
    data_.push_back(value);
    return add(Kind::Data, 0, data_.size() - 1);
}

Ref BinaryWriter::addArray(std::span<const Ref> items, Type type) {
    const Ref ref = addPending();
    setArray(ref, items, type);
    return ref;
}

Ref BinaryWriter::addDictionary(std::span<const KeyId> keys, std::span<const Ref> values) {
    const Ref ref = addPending();
    setDictionary(ref, keys, values);
    return ref;
}

Ref BinaryWriter::addPending() {
    return addNull();
}

void BinaryWriter::reserve(std::size_t objects, std::size_t elements) {
    entries_.reserve(objects);
    pool_.reserve(elements);
}

void BinaryWriter::setArray(Ref ref, std::span<const Ref> items, Type type) {
    entries_[ref] = {type == Type::Set ? Kind::Set : Kind::Array,
                     static_cast<std::uint32_t>(items.size()), pool_.size()};
    pool_.insert(pool_.end(), items.begin(), items.end());
}

void BinaryWriter::setDictionary(Ref ref, std::span<const KeyId> keys,
                                 std::span<const Ref> values) {
    entries_[ref] = {Kind::Dictionary, static_cast<std::uint32_t>(keys.size()), pool_.size()};
    pool_.insert(pool_.end(), keys.begin(), keys.end());
    pool_.insert(pool_.end(), values.begin(), values.end());
}

namespace {

unsigned bytesFor(std::uint64_t value) {
    if (value <= 0xFF)
        return 1;
    if (value <= 0xFFFF)
        return 2;
    if (value <= 0xFFFFFFFF)
        return 4;
    return 8;
}

// A marker with a count: in its low nibble, or after it as an integer object.
std::uint64_t markerSize(std::uint64_t count) {
    return count < 15 ? 1 : 2 + bytesFor(count);
}

bool isAscii(const QString& text) {
    for (QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

class Output {
  public:
    explicit Output(char* at)
        : at_(reinterpret_cast<unsigned char*>(at)) {}

    unsigned char* at() const { return at_; }
    void byte(unsigned value) { *at_++ = static_cast<unsigned char>(value); }
    void bigEndian(std::uint64_t value, unsigned size) {
        switch (size) {
        case 2:
            store(__builtin_bswap16(static_cast<std::uint16_t>(value)));
            break;
        case 4:
            store(__builtin_bswap32(static_cast<std::uint32_t>(value)));
            break;
        case 8:
            store(__builtin_bswap64(value));
            break;
        default:
            for (unsigned i = 0; i < size; ++i)
                at_[i] = static_cast<unsigned char>(value >> (8 * (size - 1 - i)));
            at_ += size;
        }
    }
    void integer(std::uint64_t value) {
        const unsigned size = bytesFor(value);
        byte(0x10 | std::countr_zero(size));
        bigEndian(value, size);
    }
    void marker(unsigned high, std::uint64_t count) {
        if (count < 15) {
            byte((high << 4) | count);
            return;
        }
        byte((high << 4) | 0xF);
        integer(count);
    }
    void bytes(const void* data, std::size_t size) {
        std::memcpy(at_, data, size);
        at_ += size;
    }

  private:
    template <class T> void store(T value) {
        std::memcpy(at_, &value, sizeof value);
        at_ += sizeof value;
    }

    unsigned char* at_;
};

} // namespace

std::uint64_t BinaryWriter::encodedSize(const Entry& entry, unsigned refSize) const {
    switch (entry.kind) {
    case Kind::Null:
    case Kind::False:
    case Kind::True:
        return 1;
    case Kind::Integer:
        return 1 + bytesFor(entry.payload);
    case Kind::Negative:
    case Kind::Real:
    case Kind::Date:
        return 9;
    case Kind::Unsigned:
        return 17;
    case Kind::Uid:
        return 1 + bytesFor(entry.payload);
    case Kind::String: {
        const QString& text = texts_[entry.count].text;
        const auto length = static_cast<std::uint64_t>(text.size());
        return markerSize(length) + (ascii_[entry.count] ? length : 2 * length);
    }
    case Kind::Data: {
        const auto length = static_cast<std::uint64_t>(data_[entry.payload].size());
        return markerSize(length) + length;
    }
    case Kind::Array:
    case Kind::Set:
        return markerSize(entry.count) + std::uint64_t(entry.count) * refSize;
    case Kind::Dictionary:
        return markerSize(entry.count) + 2 * std::uint64_t(entry.count) * refSize;
    }
    return 0;
}

QByteArray BinaryWriter::finish(Ref root, BackgroundTask* task) {
    // A key refers to the first string object with its text; texts that no string object holds
    // get one of their own after all the others, in the order the keys first appear.
    std::vector<Ref> refOfText(texts_.size());
    for (std::size_t i = 0; i < texts_.size(); ++i)
        refOfText[i] = texts_[i].firstString;
    std::vector<KeyId> extraTexts;
    for (const Entry& entry : entries_) {
        if (entry.kind != Kind::Dictionary)
            continue;
        for (std::uint32_t i = 0; i < entry.count; ++i) {
            const KeyId id = pool_[entry.payload + i];
            if (refOfText[id] == std::numeric_limits<Ref>::max()) {
                refOfText[id] = static_cast<Ref>(entries_.size() + extraTexts.size());
                extraTexts.push_back(id);
            }
        }
    }
    for (KeyId id : extraTexts)
        add(Kind::String, id, 0);

    const std::uint64_t total = entries_.size();
    const unsigned refSize = bytesFor(total == 0 ? 0 : total - 1);
    ascii_.resize(texts_.size());
    for (std::size_t i = 0; i < texts_.size(); ++i)
        ascii_[i] = isAscii(texts_[i].text);
    std::uint64_t table = headerSize;
    for (const Entry& entry : entries_)
        table += encodedSize(entry, refSize);
    const unsigned offsetSize = bytesFor(table);
    const std::uint64_t size = table + total * offsetSize + trailerSize;

    QByteArray out(static_cast<qsizetype>(size), Qt::Uninitialized);
    Output objects(out.data());
    Output offsets(out.data() + table);
    objects.bytes("bplist00", headerSize);
    const auto* start = reinterpret_cast<const unsigned char*>(out.constData());
    // In blocks, so that looking at the work stays out of the loop over objects.
    constexpr std::size_t block = 16 * checkInterval;
    for (std::size_t first = 0; first < entries_.size(); first += block) {
        if (task) {
            if (task->isCancelled())
                return QByteArray();
            task->setProgress(double(first) / double(total));
        }
        const std::size_t last = std::min(first + block, entries_.size());
        for (std::size_t index = first; index < last; ++index) {
            const Entry& entry = entries_[index];
            offsets.bigEndian(static_cast<std::uint64_t>(objects.at() - start), offsetSize);
            switch (entry.kind) {
            case Kind::Null:
                objects.byte(0x00);
                break;
            case Kind::False:
                objects.byte(0x08);
                break;
            case Kind::True:
                objects.byte(0x09);
                break;
            case Kind::Integer:
                objects.integer(entry.payload);
                break;
            case Kind::Negative:
                objects.byte(0x13);
                objects.bigEndian(entry.payload, 8);
                break;
            case Kind::Unsigned:
                objects.byte(0x14);
                objects.bigEndian(0, 8);
                objects.bigEndian(entry.payload, 8);
                break;
            case Kind::Real:
                objects.byte(0x23);
                objects.bigEndian(entry.payload, 8);
                break;
            case Kind::Date:
                objects.byte(0x33);
                objects.bigEndian(entry.payload, 8);
                break;
            case Kind::Uid: {
                const unsigned length = bytesFor(entry.payload);
                objects.byte(0x80 | (length - 1));
                objects.bigEndian(entry.payload, length);
                break;
            }
            case Kind::String: {
                const QString& text = texts_[entry.count].text;
                const auto length = static_cast<std::uint64_t>(text.size());
                if (ascii_[entry.count]) {
                    objects.marker(0x5, length);
                    for (QChar c : text)
                        objects.byte(c.unicode());
                } else {
                    objects.marker(0x6, length);
                    for (QChar c : text)
                        objects.bigEndian(c.unicode(), 2);
                }
                break;
            }
            case Kind::Data: {
                const QByteArray& data = data_[entry.payload];
                objects.marker(0x4, static_cast<std::uint64_t>(data.size()));
                objects.bytes(data.constData(), static_cast<std::size_t>(data.size()));
                break;
            }
            case Kind::Array:
            case Kind::Set:
                objects.marker(entry.kind == Kind::Array ? 0xA : 0xC, entry.count);
                for (std::uint32_t i = 0; i < entry.count; ++i)
                    objects.bigEndian(pool_[entry.payload + i], refSize);
                break;
            case Kind::Dictionary:
                objects.marker(0xD, entry.count);
                for (std::uint32_t i = 0; i < entry.count; ++i)
                    objects.bigEndian(refOfText[pool_[entry.payload + i]], refSize);
                for (std::uint32_t i = 0; i < entry.count; ++i)
                    objects.bigEndian(pool_[entry.payload + entry.count + i], refSize);
                break;
            }
        }
    }
    Output trailer(out.data() + table + total * offsetSize);
    trailer.bigEndian(0, 6);
    trailer.byte(offsetSize);
    trailer.byte(refSize);
    trailer.bigEndian(total, 8);
    trailer.bigEndian(root, 8);
    trailer.bigEndian(table, 8);
    return out;
}

} // namespace plist
