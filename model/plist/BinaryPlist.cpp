#include "BinaryPlist.h"

#include <bit>
#include <cstring>
#include <limits>

namespace plist {

namespace {

constexpr std::uint64_t headerSize = 8;
constexpr std::uint64_t trailerSize = 32;
constexpr std::uint8_t keyChecked = 0xFF;

template <class T> T load(const unsigned char* p) {
    T value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

inline std::uint64_t readBigEndian(const unsigned char* p, unsigned size) {
    switch (size) {
    case 1:
        return p[0];
    case 2:
        return __builtin_bswap16(load<std::uint16_t>(p));
    case 4:
        return __builtin_bswap32(load<std::uint32_t>(p));
    case 8:
        return __builtin_bswap64(load<std::uint64_t>(p));
    default: {
        std::uint64_t value = 0;
        for (unsigned i = 0; i < size; ++i)
            value = (value << 8) | p[i];
        return value;
    }
    }
}

QString binaryDetail(const QString& message) {
    return QStringLiteral("binary property list: ") + message;
}

} // namespace

BinaryReader::BinaryReader(const QByteArray& data)
    : data_(data)
    , bytes_(reinterpret_cast<const unsigned char*>(data_.constData())) {}

bool BinaryReader::fail(const QString& message) {
    error_ = binaryDetail(message);
    return false;
}

std::unique_ptr<BinaryReader> BinaryReader::open(const QByteArray& data, Failure* failure) {
    std::unique_ptr<BinaryReader> reader(new BinaryReader(data));
    const auto size = static_cast<std::uint64_t>(data.size());
    auto refuse = [&](const QString& message) {
        *failure = {Failure::Kind::Damaged, binaryDetail(message)};
        return nullptr;
    };
    if (!data.startsWith("bplist00")) {
        *failure = {Failure::Kind::Foreign,
                    QStringLiteral("it is a binary property list of an unsupported version")};
        return nullptr;
    }
    if (size < headerSize + 1 + 1 + trailerSize)
        return refuse(QStringLiteral("it is too short to hold a trailer"));

    const unsigned char* trailer = reader->bytes_ + (size - trailerSize);
    reader->offsetSize_ = trailer[6];
    reader->refSize_ = trailer[7];
    const std::uint64_t objects = readBigEndian(trailer + 8, 8);
    const std::uint64_t top = readBigEndian(trailer + 16, 8);
    const std::uint64_t table = readBigEndian(trailer + 24, 8);
    if (reader->offsetSize_ < 1 || reader->offsetSize_ > 8 || reader->refSize_ < 1 ||
        reader->refSize_ > 8)
        return refuse(QStringLiteral("the trailer gives impossible field sizes"));
    if (objects == 0)
        return refuse(QStringLiteral("the trailer counts no objects"));
    if (table < headerSize + 1 || table > size - trailerSize ||
        objects > (size - trailerSize - table) / reader->offsetSize_)
        return refuse(QStringLiteral("the offset table lies outside the file"));
    if (top >= objects)
        return refuse(QStringLiteral("the top object %1 does not exist").arg(top));
    // References of refSize_ bytes must be able to name every object.
    if (reader->refSize_ < 8 && (objects - 1) >> (8 * reader->refSize_) != 0)
        return refuse(QStringLiteral("%1-byte references cannot name all %2 objects")
                          .arg(reader->refSize_)
                          .arg(objects));
    // Object numbers are 32-bit; a file naming more objects would need more bytes than any
    // file this program reads.
    if (objects > std::numeric_limits<Ref>::max())
        return refuse(QStringLiteral("the trailer counts %1 objects").arg(objects));

    reader->objectCount_ = static_cast<std::size_t>(objects);
    reader->root_ = static_cast<Ref>(top);
    reader->tableOffset_ = table;
    return reader;
}

bool BinaryReader::offsetOf(Ref ref, std::uint64_t* offset) {
    *offset = readBigEndian(bytes_ + tableOffset_ + std::uint64_t(ref) * offsetSize_, offsetSize_);
    if (*offset < headerSize || *offset >= tableOffset_)
        return fail(QStringLiteral("object %1 lies outside the object area").arg(ref));
    return true;
}

bool BinaryReader::get(Ref ref, Object* object) {
    if (ref >= objectCount_)
        return fail(QStringLiteral("object %1 does not exist").arg(ref));
    std::uint64_t offset = 0;
    return offsetOf(ref, &offset) && parse(ref, offset, object);
}

Ref BinaryReader::item(const Object& container, std::size_t index) const {
    const auto* refs = static_cast<const unsigned char*>(container.elements);
    if (container.type == Type::Dictionary)
        refs += container.count * refSize_;
    return static_cast<Ref>(readBigEndian(refs + index * refSize_, refSize_));
}

Ref BinaryReader::keyRef(const Object& dictionary, std::size_t index) const {
    const auto* refs = static_cast<const unsigned char*>(dictionary.elements);
    return static_cast<Ref>(readBigEndian(refs + index * refSize_, refSize_));
}

Text BinaryReader::key(const Object& dictionary, std::size_t index) {
    Object string;
    // The dictionary's keys were checked when it was read.
    if (!get(keyRef(dictionary, index), &string))
        return Text();
    return string.string;
}

std::size_t BinaryReader::knownKey(const Object& dictionary, std::size_t index) {
    const std::uint8_t known = keyOfObject_[keyRef(dictionary, index)];
    return known == keyChecked ? unknownKey : std::size_t(known) - 1;
}

bool BinaryReader::readCount(Ref ref, std::uint64_t* pos, unsigned low, std::uint64_t unit,
                             std::uint64_t* count) {
    if (low != 0xF) {
        *count = low;
    } else {
        if (*pos >= tableOffset_)
            return fail(QStringLiteral("object %1 is cut short").arg(ref));
        const unsigned marker = bytes_[(*pos)++];
        if ((marker & 0xF0) != 0x10 || (marker & 0x0F) > 3)
            return fail(QStringLiteral("object %1 has a malformed length").arg(ref));
        const unsigned size = 1u << (marker & 0x0F);
        if (size > tableOffset_ - *pos)
            return fail(QStringLiteral("object %1 is cut short").arg(ref));
        *count = readBigEndian(bytes_ + *pos, size);
        *pos += size;
    }
    if (*count > (tableOffset_ - *pos) / unit)
        return fail(QStringLiteral("object %1 runs past the end of the object area").arg(ref));
    return true;
}

bool BinaryReader::checkRefs(Ref ref, const unsigned char* refs, std::uint64_t count) {
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t target = readBigEndian(refs + i * refSize_, refSize_);
        if (target >= objectCount_)
            return fail(QStringLiteral("object %1 refers to object %2, which does not exist")
                            .arg(ref)
                            .arg(target));
    }
    return true;
}

bool BinaryReader::checkKey(Ref key) {
    // Only a string may be a key, so a key is read only once its marker says string: checking
    // a key can never lead into another container.
    std::uint64_t offset = 0;
    if (!offsetOf(key, &offset))
        return false;
    const unsigned kind = bytes_[offset] >> 4;
    if (kind != 0x5 && kind != 0x6)
        return fail(QStringLiteral("a dictionary key (object %1) is not a string").arg(key));
    Object string;
    if (!parse(key, offset, &string))
        return false;
    const std::size_t known = matchKnownKey(string.string);
    keyOfObject_[key] = known == unknownKey ? keyChecked : static_cast<std::uint8_t>(known + 1);
    return true;
}

bool BinaryReader::parse(Ref ref, std::uint64_t offset, Object* object) {
    *object = Object();
    std::uint64_t pos = offset;
    const unsigned marker = bytes_[pos++];
    const unsigned high = marker >> 4;
    const unsigned low = marker & 0x0F;
    auto need = [&](std::uint64_t size) {
        if (size > tableOffset_ - pos)
            return fail(QStringLiteral("object %1 is cut short").arg(ref));
        return true;
    };

    switch (high) {
    case 0x0:
        if (low == 0x0 || low == 0xF) {
            object->type = Type::Null;
            return true;
        }
        if (low == 0x8 || low == 0x9) {
            object->type = Type::Boolean;
            object->boolean = low == 0x9;
            return true;
        }
        break;
    case 0x1: {
        object->type = Type::Integer;
        if (low <= 3) {
            const unsigned size = 1u << low;
            if (!need(size))
                return false;
            // One, two and four byte integers are unsigned; eight bytes are signed.
            object->integer = static_cast<std::int64_t>(readBigEndian(bytes_ + pos, size));
            return true;
        }
        if (low == 4) {
            if (!need(16))
                return false;
            const std::uint64_t upper = readBigEndian(bytes_ + pos, 8);
            const std::uint64_t lower = readBigEndian(bytes_ + pos + 8, 8);
            const bool negative = (lower >> 63) != 0;
            if (upper == 0) {
                object->integer = static_cast<std::int64_t>(lower);
                object->integerUnsigned = negative;
                return true;
            }
            if (upper == ~std::uint64_t(0) && negative) {
                object->integer = static_cast<std::int64_t>(lower);
                return true;
            }
            return fail(QStringLiteral("object %1 is an integer too large to use").arg(ref));
        }
        break;
    }
    case 0x2:
        if (low == 2 || low == 3) {
            const unsigned size = 1u << low;
            if (!need(size))
                return false;
            object->type = Type::Real;
            const std::uint64_t bits = readBigEndian(bytes_ + pos, size);
            object->real = size == 4 ? std::bit_cast<float>(static_cast<std::uint32_t>(bits))
                                     : std::bit_cast<double>(bits);
            return true;
        }
        break;
    case 0x3:
        if (low == 3) {
            if (!need(8))
                return false;
            object->type = Type::Date;
            object->real = std::bit_cast<double>(readBigEndian(bytes_ + pos, 8));
            return true;
        }
        break;
    case 0x4:
    case 0x5:
    case 0x6: {
        std::uint64_t count = 0;
        if (!readCount(ref, &pos, low, high == 0x6 ? 2 : 1, &count))
            return false;
        const unsigned char* start = bytes_ + pos;
        if (high == 0x4) {
            object->type = Type::Data;
            object->data = QByteArrayView(start, static_cast<qsizetype>(count));
        } else {
            object->type = Type::String;
            object->string = {start, static_cast<std::size_t>(count),
                              high == 0x5 ? Text::Encoding::Latin1
                                          : Text::Encoding::Utf16BigEndian};
        }
        return true;
    }
    case 0x8:
        if (low <= 7) {
            if (!need(low + 1))
                return false;
            object->type = Type::Uid;
            object->uid = readBigEndian(bytes_ + pos, low + 1);
            return true;
        }
        break;
    case 0xA:
    case 0xC:
    case 0xD: {
        const std::uint64_t perEntry = high == 0xD ? 2 : 1;
        std::uint64_t count = 0;
        if (!readCount(ref, &pos, low, perEntry * refSize_, &count))
            return false;
        const unsigned char* refs = bytes_ + pos;
        object->type = high == 0xA ? Type::Array : high == 0xC ? Type::Set : Type::Dictionary;
        object->count = static_cast<std::size_t>(count);
        object->elements = refs;
        // A container is checked whole the first time it is read: reading it again, however
        // often a file refers to it, costs nothing more.
        if (count == 0 || (!checked_.empty() && checked_[ref]))
            return true;
        if (!checkRefs(ref, refs, perEntry * count))
            return false;
        if (high == 0xD) {
            if (keyOfObject_.empty())
                keyOfObject_.assign(objectCount_, 0);
            for (std::size_t i = 0; i < object->count; ++i) {
                const Ref key = keyRef(*object, i);
                if (keyOfObject_[key] == 0 && !checkKey(key))
                    return false;
            }
        }
        if (checked_.empty())
            checked_.assign(objectCount_, false);
        checked_[ref] = true;
        return true;
    }
    default:
        break;
    }
    return fail(QStringLiteral("object %1 has the unknown marker 0x%2")
                    .arg(ref)
                    .arg(marker, 2, 16, QLatin1Char('0')));
}

// Writing.

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

QByteArray BinaryWriter::finish(Ref root, const CodecWork* work) {
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
    constexpr std::size_t block = 16 * codecCheckInterval;
    for (std::size_t first = 0; first < entries_.size(); first += block) {
        if (work) {
            if (work->cancelled())
                return QByteArray();
            work->report(double(first) / double(total));
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

QByteArray writeBinary(const Document& document) {
    BinaryWriter writer;
    std::vector<BinaryWriter::KeyId> keys;
    for (const Value& value : document.objects) {
        switch (value.type) {
        case Type::Null:
            writer.addNull();
            break;
        case Type::Boolean:
            writer.addBoolean(value.boolean);
            break;
        case Type::Integer:
            writer.addInteger(value.integer, value.integerUnsigned);
            break;
        case Type::Real:
            writer.addReal(value.real);
            break;
        case Type::Date:
            writer.addDate(value.real);
            break;
        case Type::Data:
            writer.addData(value.data);
            break;
        case Type::String:
            writer.addString(value.string);
            break;
        case Type::Array:
        case Type::Set:
            writer.addArray(value.items, value.type);
            break;
        case Type::Dictionary:
            keys.clear();
            for (const QString& key : value.keys)
                keys.push_back(writer.key(key));
            writer.addDictionary(keys, value.items);
            break;
        case Type::Uid:
            writer.addUid(value.uid);
            break;
        }
    }
    return writer.finish(document.root);
}

} // namespace plist
