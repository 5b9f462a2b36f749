#include "PlistValue.h"

#include "BinaryReader.h"
#include "XmlPlist.h"

#include <QCoreApplication>

#include <cstring>

namespace plist {

namespace {

struct PropertyList {
    Q_DECLARE_TR_FUNCTIONS(PropertyList)
};

} // namespace

QString describe(Type type) {
    switch (type) {
    case Type::Null:
        return PropertyList::tr("a null value");
    case Type::Boolean:
        return PropertyList::tr("a boolean");
    case Type::Integer:
        return PropertyList::tr("an integer");
    case Type::Real:
        return PropertyList::tr("a real number");
    case Type::Date:
        return PropertyList::tr("a date");
    case Type::Data:
        return PropertyList::tr("a block of data");
    case Type::String:
        return PropertyList::tr("a string");
    case Type::Array:
        return PropertyList::tr("an array");
    case Type::Set:
        return PropertyList::tr("a set");
    case Type::Dictionary:
        return PropertyList::tr("a dictionary");
    case Type::Uid:
        return PropertyList::tr("an object reference");
    }
    return PropertyList::tr("an unknown value");
}

namespace {

char16_t characterAt(const Text& text, std::size_t i) {
    switch (text.encoding) {
    case Text::Encoding::Latin1:
        return static_cast<const unsigned char*>(text.characters)[i];
    case Text::Encoding::Utf16BigEndian: {
        const auto* bytes = static_cast<const unsigned char*>(text.characters) + 2 * i;
        return static_cast<char16_t>((bytes[0] << 8) | bytes[1]);
    }
    case Text::Encoding::Utf16:
        return static_cast<const char16_t*>(text.characters)[i];
    }
    return 0;
}

} // namespace

QString Text::toString() const {
    const auto length = static_cast<qsizetype>(size);
    if (encoding == Encoding::Latin1)
        return QString::fromLatin1(static_cast<const char*>(characters), length);
    if (encoding == Encoding::Utf16)
        return QString(static_cast<const QChar*>(characters), length);
    QString string(length, Qt::Uninitialized);
    for (std::size_t i = 0; i < size; ++i)
        string[static_cast<qsizetype>(i)] = QChar(characterAt(*this, i));
    return string;
}

bool Text::operator==(const QString& other) const {
    if (static_cast<std::size_t>(other.size()) != size)
        return false;
    const auto* wanted = reinterpret_cast<const char16_t*>(other.constData());
    if (encoding == Encoding::Utf16)
        return std::memcmp(characters, wanted, 2 * size) == 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (characterAt(*this, i) != wanted[i])
            return false;
    }
    return true;
}

double Object::toDouble() const {
    if (type == Type::Real)
        return real;
    if (type == Type::Integer)
        return integerUnsigned ? static_cast<double>(static_cast<std::uint64_t>(integer))
                               : static_cast<double>(integer);
    return 0.0;
}

std::size_t ObjectSource::matchKnownKey(const Text& key) const {
    for (std::size_t i = 0; i < knownKeys_.size(); ++i) {
        if (key == knownKeys_[i])
            return i;
    }
    return unknownKey;
}

std::unique_ptr<ObjectSource> open(const QByteArray& data, ReadProblem* problem,
                                   BackgroundTask* task) {
    if (data.isEmpty()) {
        *problem = {ReadProblem::Kind::Empty, QString()};
        return nullptr;
    }
    if (data.startsWith("bplist"))
        return BinaryReader::open(data, problem);
    if (looksLikeXml(data))
        return openXml(data, problem, task);
    *problem = {ReadProblem::Kind::Foreign, PropertyList::tr("it is not a property list")};
    return nullptr;
}

} // namespace plist
