#include "BinaryPlist.h"

#include <QHash>

#include <bit>
#include <cstring>
#include <map>

namespace plist {

namespace {

constexpr std::uint64_t headerSize = 8;
constexpr std::uint64_t trailerSize = 32;

} // namespace

BinaryReader::BinaryReader(const QByteArray& data)
    : data_(data)
    , bytes_(reinterpret_cast<const unsigned char*>(data_.constData())) {}

std::uint64_t BinaryReader::readUnsigned(std::uint64_t pos, unsigned size) const {
    std::uint64_t value = 0;
    for (unsigned i = 0; i < size; ++i)
        value = (value << 8) | bytes_[pos + i];
    return value;
}

bool BinaryReader::fail(const QString& message) {
    error_ = QStringLiteral("the file is a damaged property list: ") + message;
    return false;
}

std::unique_ptr<BinaryReader> BinaryReader::open(const QByteArray& data, QString* error) {
    std::unique_ptr<BinaryReader> reader(new BinaryReader(data));
    const auto size = static_cast<std::uint64_t>(data.size());
    auto refuse = [&](const QString& message) {
        *error = QStringLiteral("the file is a damaged property list: ") + message;
        return nullptr;
    };
    if (!data.startsWith("bplist00")) {
        *error = QStringLiteral("the file is a binary property list of an unsupported version");
        return nullptr;
    }
    if (size < headerSize + 1 + 1 + trailerSize)
        return refuse(QStringLiteral("it is too short"));

    const std::uint64_t trailer = size - trailerSize;
    reader->offsetSize_ = reader->bytes_[trailer + 6];
    reader->refSize_ = reader->bytes_[trailer + 7];
    const std::uint64_t objects = reader->readUnsigned(trailer + 8, 8);
    const std::uint64_t top = reader->readUnsigned(trailer + 16, 8);
    const std::uint64_t table = reader->readUnsigned(trailer + 24, 8);
    if (reader->offsetSize_ < 1 || reader->offsetSize_ > 8 || reader->refSize_ < 1 ||
        reader->refSize_ > 8)
        return refuse(QStringLiteral("its trailer gives impossible field sizes"));
    if (objects == 0)
        return refuse(QStringLiteral("it holds no objects"));
    if (table < headerSize + 1 || table > trailer ||
        objects > (trailer - table) / reader->offsetSize_)
        return refuse(QStringLiteral("its offset table lies outside the file"));
    if (top >= objects)
        return refuse(QStringLiteral("its top object %1 does not exist").arg(top));
    // References of refSize_ bytes must be able to name every object.
    if (reader->refSize_ < 8 && (objects - 1) >> (8 * reader->refSize_) != 0)
        return refuse(QStringLiteral("its references are too narrow for its objects"));

    reader->objectCount_ = static_cast<std::size_t>(objects);
    reader->root_ = static_cast<Ref>(top);
    reader->tableOffset_ = table;
    reader->slotOfObject_.assign(reader->objectCount_, unparsed);
    return reader;
}

const Value* BinaryReader::object(Ref ref) {
    if (ref >= objectCount_) {
        fail(QStringLiteral("object %1 does not exist").arg(ref));
        return nullptr;
    }
    if (slotOfObject_[ref] != unparsed)
        return &values_[slotOfObject_[ref]];

    const std::uint64_t offset =
        readUnsigned(tableOffset_ + std::uint64_t(ref) * offsetSize_, offsetSize_);
    if (offset < headerSize || offset >= tableOffset_) {
        fail(QStringLiteral("object %1 lies outside the object area").arg(ref));
        return nullptr;
    }
    // Several table entries may point at one offset. Objects whose size depends on a count are
    // parsed once per offset, so that aliases cannot multiply them; a scalar costs no more than
    // its table entry, so it is simply parsed again.
    const unsigned kind = bytes_[offset] >> 4;
    const bool counted =
        kind == 0x4 || kind == 0x5 || kind == 0x6 || kind == 0xA || kind == 0xC || kind == 0xD;
    if (counted) {
        if (auto found = slotOfOffset_.find(offset); found != slotOfOffset_.end()) {
            slotOfObject_[ref] = found->second;
            return &values_[found->second];
        }
    }
    Value value;
    current_ = ref;
    if (!parse(offset, &value))
        return nullptr;
    const auto slot = static_cast<std::uint32_t>(values_.size());
    values_.push_back(std::move(value));
    slotOfObject_[ref] = slot;
    if (counted)
        slotOfOffset_.emplace(offset, slot);
    return &values_.back();
}

bool BinaryReader::readCount(std::uint64_t* pos, unsigned low, std::uint64_t unit,
                             std::uint64_t* count) {
    if (low != 0xF) {
        *count = low;
    } else {
        if (*pos >= tableOffset_)
            return fail(QStringLiteral("object %1 is cut short").arg(current_));
        const unsigned marker = bytes_[(*pos)++];
        if ((marker & 0xF0) != 0x10 || (marker & 0x0F) > 3)
            return fail(QStringLiteral("object %1 has a malformed length").arg(current_));
        const unsigned size = 1u << (marker & 0x0F);
        if (size > tableOffset_ - *pos)
            return fail(QStringLiteral("object %1 is cut short").arg(current_));
        *count = readUnsigned(*pos, size);
        *pos += size;
    }
    if (*count > (tableOffset_ - *pos) / unit)
        return fail(QStringLiteral("object %1 runs past the end of the object area").arg(current_));
    return true;
}

bool BinaryReader::readRefs(std::uint64_t* pos, std::uint64_t count, std::vector<Ref>* refs) {
    refs->reserve(static_cast<std::size_t>(count));
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t ref = readUnsigned(*pos, refSize_);
        *pos += refSize_;
        if (ref >= objectCount_)
            return fail(QStringLiteral("object %1 refers to object %2, which does not exist")
                            .arg(current_)
                            .arg(ref));
        refs->push_back(static_cast<Ref>(ref));
    }
    return true;
}

const Value* BinaryReader::keyString(Ref ref) {
    // Only a string may be a key, so a key is parsed only once its marker says string: parsing
    // a key can never lead into another container.
    if (ref < objectCount_ && slotOfObject_[ref] == unparsed) {
        const std::uint64_t offset =
            readUnsigned(tableOffset_ + std::uint64_t(ref) * offsetSize_, offsetSize_);
        if (offset >= headerSize && offset < tableOffset_) {
            const unsigned kind = bytes_[offset] >> 4;
            if (kind != 0x5 && kind != 0x6) {
                fail(QStringLiteral("a dictionary key (object %1) is not a string").arg(ref));
                return nullptr;
            }
        }
    }
    const Ref container = current_;
    const Value* key = object(ref);
    current_ = container;
    if (key && key->type != Type::String) {
        fail(QStringLiteral("a dictionary key (object %1) is not a string").arg(ref));
        return nullptr;
    }
    return key;
}

bool BinaryReader::parse(std::uint64_t offset, Value* value) {
    std::uint64_t pos = offset;
    const unsigned marker = bytes_[pos++];
    const unsigned high = marker >> 4;
    const unsigned low = marker & 0x0F;
    auto need = [&](std::uint64_t size) {
        if (size > tableOffset_ - pos)
            return fail(QStringLiteral("object %1 is cut short").arg(current_));
        return true;
    };

    switch (high) {
    case 0x0:
        if (low == 0x0 || low == 0xF) {
            value->type = Type::Null;
            return true;
        }
        if (low == 0x8 || low == 0x9) {
            value->type = Type::Boolean;
            value->boolean = low == 0x9;
            return true;
        }
        break;
    case 0x1: {
        value->type = Type::Integer;
        if (low <= 3) {
            const unsigned size = 1u << low;
            if (!need(size))
                return false;
            const std::uint64_t raw = readUnsigned(pos, size);
            // One, two and four byte integers are unsigned; eight bytes are signed.
            value->integer = static_cast<std::int64_t>(raw);
            return true;
        }
        if (low == 4) {
            if (!need(16))
                return false;
            const std::uint64_t upper = readUnsigned(pos, 8);
            const std::uint64_t lower = readUnsigned(pos + 8, 8);
            const bool negative = (lower >> 63) != 0;
            if (upper == 0) {
                value->integer = static_cast<std::int64_t>(lower);
                value->integerUnsigned = negative;
                return true;
            }
            if (upper == ~std::uint64_t(0) && negative) {
                value->integer = static_cast<std::int64_t>(lower);
                return true;
            }
            return fail(QStringLiteral("object %1 is an integer too large to use").arg(current_));
        }
        break;
    }
    case 0x2:
        if (low == 2 || low == 3) {
            const unsigned size = 1u << low;
            if (!need(size))
                return false;
            value->type = Type::Real;
            if (size == 4)
                value->real =
                    std::bit_cast<float>(static_cast<std::uint32_t>(readUnsigned(pos, 4)));
            else
                value->real = std::bit_cast<double>(readUnsigned(pos, 8));
            return true;
        }
        break;
    case 0x3:
        if (low == 3) {
            if (!need(8))
                return false;
            value->type = Type::Date;
            value->real = std::bit_cast<double>(readUnsigned(pos, 8));
            return true;
        }
        break;
    case 0x4: {
        std::uint64_t count = 0;
        if (!readCount(&pos, low, 1, &count))
            return false;
        value->type = Type::Data;
        value->data =
            QByteArray(reinterpret_cast<const char*>(bytes_ + pos), static_cast<qsizetype>(count));
        return true;
    }
    case 0x5: {
        std::uint64_t count = 0;
        if (!readCount(&pos, low, 1, &count))
            return false;
        value->type = Type::String;
        value->string = QString::fromLatin1(reinterpret_cast<const char*>(bytes_ + pos),
                                            static_cast<qsizetype>(count));
        return true;
    }
    case 0x6: {
        std::uint64_t count = 0;
        if (!readCount(&pos, low, 2, &count))
            return false;
        value->type = Type::String;
        value->string.resize(static_cast<qsizetype>(count));
        for (std::uint64_t i = 0; i < count; ++i)
            value->string[static_cast<qsizetype>(i)] =
                QChar(static_cast<char16_t>(readUnsigned(pos + 2 * i, 2)));
        return true;
    }
    case 0x8:
        if (low <= 7) {
            if (!need(low + 1))
                return false;
            value->type = Type::Uid;
            value->uid = readUnsigned(pos, low + 1);
            return true;
        }
        break;
    case 0xA:
    case 0xC: {
        std::uint64_t count = 0;
        if (!readCount(&pos, low, refSize_, &count))
            return false;
        value->type = high == 0xA ? Type::Array : Type::Set;
        return readRefs(&pos, count, &value->items);
    }
    case 0xD: {
        std::uint64_t count = 0;
        if (!readCount(&pos, low, 2 * std::uint64_t(refSize_), &count))
            return false;
        value->type = Type::Dictionary;
        std::vector<Ref> keyRefs;
        if (!readRefs(&pos, count, &keyRefs) || !readRefs(&pos, count, &value->items))
            return false;
        value->keys.reserve(keyRefs.size());
        for (Ref keyRef : keyRefs) {
            const Value* key = keyString(keyRef);
            if (!key)
                return false;
            value->keys.push_back(key->string);
        }
        return true;
    }
    default:
        break;
    }
    return fail(QStringLiteral("object %1 has the unknown marker 0x%2")
                    .arg(current_)
                    .arg(marker, 2, 16, QLatin1Char('0')));
}

namespace {

class Writer {
  public:
    explicit Writer(const Document& document)
        : document_(document) {}

    QByteArray write() {
        // Dictionary keys become string objects of their own; equal strings share one.
        std::vector<QString> extraStrings;
        stringRefs_.reserve(static_cast<qsizetype>(document_.objects.size()));
        auto refOf = [&](const QString& string) {
            auto found = stringRefs_.constFind(string);
            if (found != stringRefs_.constEnd())
                return found.value();
            const auto ref = static_cast<Ref>(document_.objects.size() + extraStrings.size());
            extraStrings.push_back(string);
            stringRefs_.insert(string, ref);
            return ref;
        };
        for (std::size_t i = 0; i < document_.objects.size(); ++i) {
            const Value& value = document_.objects[i];
            if (value.type == Type::String && !stringRefs_.contains(value.string))
                stringRefs_.insert(value.string, static_cast<Ref>(i));
        }
        for (const Value& value : document_.objects) {
            for (const QString& key : value.keys)
                refOf(key);
        }

        const std::size_t total = document_.objects.size() + extraStrings.size();
        refSize_ = bytesFor(total == 0 ? 0 : total - 1);
        std::vector<std::uint64_t> offsets;
        offsets.reserve(total);
        out_.reserve(static_cast<qsizetype>(16 * total + 64));
        out_.append("bplist00");
        for (const Value& value : document_.objects) {
            offsets.push_back(static_cast<std::uint64_t>(out_.size()));
            if (value.type == Type::String && stringRefs_.value(value.string) != offsets.size() - 1)
                writeString(value.string); // a duplicate nobody refers to; keep indices intact
            else
                writeValue(value);
        }
        for (const QString& string : extraStrings) {
            offsets.push_back(static_cast<std::uint64_t>(out_.size()));
            writeString(string);
        }

        const std::uint64_t table = static_cast<std::uint64_t>(out_.size());
        const unsigned offsetSize = bytesFor(table);
        for (std::uint64_t offset : offsets)
            appendUnsigned(offset, offsetSize);
        out_.append(6, '\0');
        out_.append(static_cast<char>(offsetSize));
        out_.append(static_cast<char>(refSize_));
        appendUnsigned(total, 8);
        appendUnsigned(document_.root, 8);
        appendUnsigned(table, 8);
        return out_;
    }

  private:
    static unsigned bytesFor(std::uint64_t value) {
        if (value <= 0xFF)
            return 1;
        if (value <= 0xFFFF)
            return 2;
        if (value <= 0xFFFFFFFF)
            return 4;
        return 8;
    }

    void appendUnsigned(std::uint64_t value, unsigned size) {
        char buffer[8];
        for (unsigned i = 0; i < size; ++i)
            buffer[i] = static_cast<char>((value >> (8 * (size - 1 - i))) & 0xFF);
        out_.append(buffer, size);
    }

    // Most dictionaries share their key strings' data, so the reference is found by address
    // before any string is hashed.
    Ref keyRef(const QString& key) {
        const std::pair<const QChar*, qsizetype> identity{key.constData(), key.size()};
        auto [it, inserted] = keyRefs_.try_emplace(identity, 0);
        if (inserted)
            it->second = stringRefs_.value(key);
        return it->second;
    }

    void appendMarker(unsigned high, std::uint64_t count) {
        if (count < 15) {
            out_.append(static_cast<char>((high << 4) | count));
            return;
        }
        out_.append(static_cast<char>((high << 4) | 0xF));
        appendInteger(count);
    }

    void appendInteger(std::uint64_t value) {
        const unsigned size = bytesFor(value);
        out_.append(static_cast<char>(0x10 | std::countr_zero(size)));
        appendUnsigned(value, size);
    }

    void appendRefs(const std::vector<Ref>& refs) {
        for (Ref ref : refs)
            appendUnsigned(ref, refSize_);
    }

    void writeString(const QString& string) {
        bool ascii = true;
        for (QChar c : string) {
            if (c.unicode() >= 0x80) {
                ascii = false;
                break;
            }
        }
        if (ascii) {
            appendMarker(0x5, static_cast<std::uint64_t>(string.size()));
            out_.append(string.toLatin1());
        } else {
            appendMarker(0x6, static_cast<std::uint64_t>(string.size()));
            for (QChar c : string)
                appendUnsigned(c.unicode(), 2);
        }
    }

    void writeValue(const Value& value) {
        switch (value.type) {
        case Type::Null:
            out_.append('\0');
            break;
        case Type::Boolean:
            out_.append(static_cast<char>(value.boolean ? 0x09 : 0x08));
            break;
        case Type::Integer:
            if (value.integerUnsigned) {
                out_.append(static_cast<char>(0x14));
                appendUnsigned(0, 8);
                appendUnsigned(static_cast<std::uint64_t>(value.integer), 8);
            } else if (value.integer < 0) {
                out_.append(static_cast<char>(0x13));
                appendUnsigned(static_cast<std::uint64_t>(value.integer), 8);
            } else {
                appendInteger(static_cast<std::uint64_t>(value.integer));
            }
            break;
        case Type::Real:
            out_.append(static_cast<char>(0x23));
            appendUnsigned(std::bit_cast<std::uint64_t>(value.real), 8);
            break;
        case Type::Date:
            out_.append(static_cast<char>(0x33));
            appendUnsigned(std::bit_cast<std::uint64_t>(value.real), 8);
            break;
        case Type::Data:
            appendMarker(0x4, static_cast<std::uint64_t>(value.data.size()));
            out_.append(value.data);
            break;
        case Type::String:
            writeString(value.string);
            break;
        case Type::Array:
        case Type::Set:
            appendMarker(value.type == Type::Array ? 0xA : 0xC, value.items.size());
            appendRefs(value.items);
            break;
        case Type::Dictionary:
            appendMarker(0xD, value.items.size());
            for (const QString& key : value.keys)
                appendUnsigned(keyRef(key), refSize_);
            appendRefs(value.items);
            break;
        case Type::Uid: {
            const unsigned size = bytesFor(value.uid);
            out_.append(static_cast<char>(0x80 | (size - 1)));
            appendUnsigned(value.uid, size);
            break;
        }
        }
    }

    const Document& document_;
    QHash<QString, Ref> stringRefs_;
    std::map<std::pair<const QChar*, qsizetype>, Ref> keyRefs_;
    unsigned refSize_ = 1;
    QByteArray out_;
};

} // namespace

QByteArray writeBinary(const Document& document) {
    return Writer(document).write();
}

} // namespace plist
