#include "BinaryReader.h"

#include "BinaryFormat.h"

#include <QCoreApplication>

#include <bit>
#include <cstring>
#include <limits>

namespace plist {

namespace {

using binary::headerSize;
using binary::readBigEndian;
using binary::trailerSize;

constexpr std::uint8_t keyChecked = 0xFF;

QString binaryDetail(const QString& message) {
    return BinaryReader::tr("binary property list: %1").arg(message);
}

} // namespace

BinaryReader::BinaryReader(const QByteArray& data)
    : data_(data)
    , bytes_(reinterpret_cast<const unsigned char*>(data_.constData())) {}

bool BinaryReader::fail(const QString& message) {
    error_ = binaryDetail(message);
    return false;
}

std::unique_ptr<BinaryReader> BinaryReader::open(const QByteArray& data, ReadProblem* problem) {
    std::unique_ptr<BinaryReader> reader(new BinaryReader(data));
    const auto size = static_cast<std::uint64_t>(data.size());
    auto refuse = [&](const QString& message) {
        *problem = {ReadProblem::Kind::Damaged, binaryDetail(message)};
        return nullptr;
    };
    if (!data.startsWith("bplist00")) {
        *problem = {ReadProblem::Kind::Foreign,
                    tr("it is a binary property list of an unsupported version")};
        return nullptr;
    }
    if (size < headerSize + 1 + 1 + trailerSize)
        return refuse(tr("it is too short to hold a trailer"));

    const unsigned char* trailer = reader->bytes_ + (size - trailerSize);
    reader->offsetSize_ = trailer[6];
    reader->refSize_ = trailer[7];
    const std::uint64_t objects = readBigEndian(trailer + 8, 8);
    const std::uint64_t top = readBigEndian(trailer + 16, 8);
    const std::uint64_t table = readBigEndian(trailer + 24, 8);
    if (reader->offsetSize_ < 1 || reader->offsetSize_ > 8 || reader->refSize_ < 1 ||
        reader->refSize_ > 8)
        return refuse(tr("the trailer gives impossible field sizes"));
    if (objects == 0)
        return refuse(tr("the trailer counts no objects"));
    if (table < headerSize + 1 || table > size - trailerSize ||
        objects > (size - trailerSize - table) / reader->offsetSize_)
        return refuse(tr("the offset table lies outside the file"));
    if (top >= objects)
        return refuse(tr("the top object %1 does not exist").arg(top));
    // References of refSize_ bytes must be able to name every object.
    if (reader->refSize_ < 8 && (objects - 1) >> (8 * reader->refSize_) != 0)
        return refuse(
            tr("%1-byte references cannot name all %2 objects").arg(reader->refSize_).arg(objects));
    // Object numbers are 32-bit; a file naming more objects would need more bytes than any
    // file this program reads.
    if (objects > std::numeric_limits<Ref>::max())
        return refuse(tr("the trailer counts %1 objects").arg(objects));

    reader->objectCount_ = static_cast<std::size_t>(objects);
    reader->root_ = static_cast<Ref>(top);
    reader->tableOffset_ = table;
    return reader;
}

bool BinaryReader::offsetOf(Ref ref, std::uint64_t* offset) {
    *offset = readBigEndian(bytes_ + tableOffset_ + std::uint64_t(ref) * offsetSize_, offsetSize_);
    if (*offset < headerSize || *offset >= tableOffset_)
        return fail(tr("object %1 lies outside the object area").arg(ref));
    return true;
}

bool BinaryReader::get(Ref ref, Object* object) {
    if (ref >= objectCount_)
        return fail(tr("object %1 does not exist").arg(ref));
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
            return fail(tr("object %1 is cut short").arg(ref));
        const unsigned marker = bytes_[(*pos)++];
        if ((marker & 0xF0) != 0x10 || (marker & 0x0F) > 3)
            return fail(tr("object %1 has a malformed length").arg(ref));
        const unsigned size = 1u << (marker & 0x0F);
        if (size > tableOffset_ - *pos)
            return fail(tr("object %1 is cut short").arg(ref));
        *count = readBigEndian(bytes_ + *pos, size);
        *pos += size;
    }
    if (*count > (tableOffset_ - *pos) / unit)
        return fail(tr("object %1 runs past the end of the object area").arg(ref));
    return true;
}

bool BinaryReader::checkRefs(Ref ref, const unsigned char* refs, std::uint64_t count) {
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t target = readBigEndian(refs + i * refSize_, refSize_);
        if (target >= objectCount_)
            return fail(
                tr("object %1 refers to object %2, which does not exist").arg(ref).arg(target));
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
        return fail(tr("a dictionary key (object %1) is not a string").arg(key));
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
            return fail(tr("object %1 is cut short").arg(ref));
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
            return fail(tr("object %1 is an integer too large to use").arg(ref));
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
    return fail(
        tr("object %1 has the unknown marker 0x%2").arg(ref).arg(marker, 2, 16, QLatin1Char('0')));
}

} // namespace plist
