#include "XmlPlist.h"

#include <QDateTime>
#include <QTimeZone>
#include <QXmlStreamReader>

#include <bit>
#include <cstring>
#include <deque>
#include <limits>

namespace plist {

bool looksLikeXml(const QByteArray& data) {
    if (data.startsWith("\xFE\xFF") || data.startsWith("\xFF\xFE"))
        return true; // UTF-16; the XML reader decides the rest
    qsizetype pos = data.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (pos < data.size() &&
           (data[pos] == ' ' || data[pos] == '\t' || data[pos] == '\n' || data[pos] == '\r'))
        ++pos;
    return pos < data.size() && data[pos] == '<';
}

namespace {

// Seconds from 1970-01-01 to 2001-01-01, the epoch of property-list dates.
constexpr double referenceEpoch = 978307200.0;
// The XML reader is given the data this much at a time, so that it never decodes the whole
// document into characters at once.
constexpr qsizetype feedSize = 1024 * 1024;

bool parseInteger(const QString& text, std::int64_t* integer, bool* isUnsigned) {
    bool ok = false;
    const qlonglong signedValue = text.toLongLong(&ok, 10);
    if (ok) {
        *integer = signedValue;
        return true;
    }
    const qulonglong unsignedValue = text.toULongLong(&ok, 10);
    if (!ok)
        return false;
    *integer = static_cast<std::int64_t>(unsignedValue);
    *isUnsigned = true;
    return true;
}

// The document's code units, one byte each or UTF-16 in either byte order.
struct Units {
    const unsigned char* bytes;
    qsizetype size;
    int width;      // 1 or 2
    bool bigEndian; // for width 2

    char16_t at(qsizetype i) const {
        if (width == 1)
            return bytes[i];
        const unsigned char* unit = bytes + 2 * i;
        return bigEndian ? char16_t((unit[0] << 8) | unit[1]) : char16_t((unit[1] << 8) | unit[0]);
    }
    bool startsWith(qsizetype i, const char* text) const {
        for (qsizetype k = 0; text[k] != 0; ++k) {
            if (i + k >= size || at(i + k) != char16_t(text[k]))
                return false;
        }
        return true;
    }
    // The position just past the next `end` from i, or the end of the document.
    qsizetype skipPast(qsizetype i, const char* end) const {
        const char16_t first = char16_t(end[0]);
        for (; i < size; ++i) {
            if (at(i) == first && startsWith(i, end))
                return i + qsizetype(std::strlen(end));
        }
        return size;
    }
    int lineOf(qsizetype position) const {
        int line = 1;
        for (qsizetype i = 0; i < position && i < size; ++i)
            line += at(i) == u'\n';
        return line;
    }
};

enum class Markup { Fine, TooManyAttributes, TooLong, Subset, SubsetWithEntities };

// The longest run of text, comment, tag or other markup the reader is given: it is slow on
// one that spans many pieces of the data, and holds each whole.
constexpr qsizetype maximumRun = qsizetype(maximumXmlText) + 1024;

// What the XML reader would be slow or unsafe to see, looked for in one pass over the markup
// before it sees the document: it checks that attributes are unique by comparing each with all
// the others, applies the attribute defaults of a DTD to every element, and reads a long
// stretch of text or markup again each time more data comes. A property list has at most one
// attribute, no DTD of its own and short stretches. Markup that is not well formed is left
// for the reader to report.
Markup scanMarkup(const Units& units, qsizetype* where) {
    const qsizetype n = units.size;
    qsizetype i = 0;
    qsizetype textStart = 0;
    while (i < n) {
        if (units.at(i) != u'<') {
            ++i;
            continue;
        }
        *where = textStart;
        if (i - textStart > maximumRun)
            return Markup::TooLong;
        *where = i;
        const qsizetype start = i;
        if (units.startsWith(i, "<!--"))
            i = units.skipPast(i + 4, "-->");
        else if (units.startsWith(i, "<![CDATA["))
            i = units.skipPast(i + 9, "]]>");
        else if (units.startsWith(i, "<?"))
            i = units.skipPast(i + 2, "?>");
        if (i != start) {
            if (i - start > maximumRun)
                return Markup::TooLong;
            textStart = i;
            continue;
        }
        const bool declaration = units.startsWith(i, "<!");
        std::size_t attributes = 0;
        char16_t quote = 0;
        for (++i; i < n; ++i) {
            const char16_t c = units.at(i);
            if (quote != 0) {
                quote = c == quote ? 0 : quote;
            } else if (c == u'"' || c == u'\'') {
                quote = c;
            } else if (declaration && c == u'[') {
                for (; i < n && units.at(i) != u']'; ++i) {
                    if (units.startsWith(i, "<!ENTITY"))
                        return Markup::SubsetWithEntities;
                }
                return Markup::Subset;
            } else if (!declaration && c == u'=') {
                if (++attributes > maximumXmlAttributes)
                    return Markup::TooManyAttributes;
            } else if (c == u'>' || c == u'<') {
                break;
            }
        }
        if (i < n && units.at(i) == u'>')
            ++i;
        if (i - start > maximumRun)
            return Markup::TooLong;
        textStart = i;
    }
    *where = textStart;
    return n - textStart > maximumRun ? Markup::TooLong : Markup::Fine;
}

// The objects of an XML property list, held compactly (see openXml()).
class XmlSource : public ObjectSource {
  public:
    bool read(const QByteArray& data, Failure* failure, const CodecWork& work);

    Ref root() const override { return root_; }
    std::size_t count() const override { return records_.size(); }
    bool get(Ref ref, Object* object) override;
    Ref item(const Object& container, std::size_t index) const override;
    Text key(const Object& dictionary, std::size_t index) override;
    std::size_t knownKey(const Object& dictionary, std::size_t index) override {
        return matchKnownKey(key(dictionary, index));
    }

  private:
    struct Record {
        Type type = Type::Null;
        bool flag = false;         // Boolean: the value; Integer: held unsigned; String: Latin-1
        std::uint32_t count = 0;   // String and Data: their length; containers: elements
        std::uint64_t payload = 0; // numbers: their bits; String and Data: where they are;
                                   // containers: the first element in pool_
    };
    // An open container; its elements so far are pending_ from `first` on (a dictionary's as
    // key, value, key, value...).
    struct Frame {
        bool dictionary = false;
        bool haveKey = false;
        Ref key = 0;
        std::size_t first = 0;
    };
    enum Shared { True, False, EmptyString, EmptyData, EmptyArray, EmptyDictionary, SharedCount };

    Ref add(const Record& record);
    Ref shared(Shared which, Type type, bool flag = false);
    // Room for `size` bytes that stay where they are while the source lives.
    unsigned char* allocate(std::size_t size);
    Ref addText(const QString& text);
    Text textOf(const Record& record) const;

    std::deque<Record> records_;
    std::deque<Ref> pool_;
    std::deque<Ref> pending_;
    std::vector<std::unique_ptr<unsigned char[]>> blocks_;
    std::size_t blockUsed_ = 0;
    Ref shared_[SharedCount];
    Ref root_ = 0;
};

constexpr Ref noRef = std::numeric_limits<Ref>::max();
constexpr std::size_t blockSize = 256 * 1024;

Ref XmlSource::add(const Record& record) {
    records_.push_back(record);
    return static_cast<Ref>(records_.size() - 1);
}

Ref XmlSource::shared(Shared which, Type type, bool flag) {
    if (shared_[which] == noRef)
        shared_[which] = add(Record{type, flag, 0, 0});
    return shared_[which];
}

unsigned char* XmlSource::allocate(std::size_t size) {
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

Ref XmlSource::addText(const QString& text) {
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

Text XmlSource::textOf(const Record& record) const {
    return {reinterpret_cast<const void*>(record.payload), record.count,
            record.flag ? Text::Encoding::Latin1 : Text::Encoding::Utf16};
}

bool XmlSource::get(Ref ref, Object* object) {
    if (ref >= records_.size()) {
        error_ = QStringLiteral("object %1 does not exist").arg(ref);
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

Ref XmlSource::item(const Object& container, std::size_t index) const {
    const auto* record = static_cast<const Record*>(container.elements);
    if (record->type == Type::Dictionary)
        index += record->count;
    return pool_[record->payload + index];
}

Text XmlSource::key(const Object& dictionary, std::size_t index) {
    const auto* record = static_cast<const Record*>(dictionary.elements);
    return textOf(records_[pool_[record->payload + index]]);
}

bool XmlSource::read(const QByteArray& data, Failure* failure, const CodecWork& work) {
    std::fill(std::begin(shared_), std::end(shared_), noRef);
    QXmlStreamReader xml;
    qsizetype fed = 0;
    bool insidePlist = false;
    bool haveRoot = false;
    std::vector<Frame> stack;
    // The value element being read that holds text, if any, and its text so far.
    QString leaf;
    bool inLeaf = false;
    QString text;
    std::size_t values = 0;

    auto refuseAs = [&](Failure::Kind kind, QString message, qint64 line) {
        if (message.endsWith(u'.'))
            message.chop(1); // the XML reader's own messages are sentences
        *failure = {kind,
                    kind == Failure::Kind::Foreign
                        ? QStringLiteral("it is an XML document, but not a property list "
                                         "(line %1: %2)")
                              .arg(line)
                              .arg(message)
                        : QStringLiteral("XML property list, line %1: %2").arg(line).arg(message)};
        return false;
    };
    // Until the <plist> element opens, the XML may be anything at all.
    auto refuse = [&](const QString& message) {
        return refuseAs(insidePlist ? Failure::Kind::Damaged : Failure::Kind::Foreign, message,
                        xml.lineNumber());
    };
    auto beyond = [&](const QString& sentence) {
        *failure = {Failure::Kind::Refused, sentence};
        return false;
    };

    {
        const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
        Units units{bytes, data.size(), 1, false};
        if (data.startsWith("\xFE\xFF") || data.startsWith("\xFF\xFE"))
            units = Units{bytes, data.size() / 2, 2, data.startsWith("\xFE\xFF")};
        qsizetype where = 0;
        const Markup markup = scanMarkup(units, &where);
        switch (markup) {
        case Markup::Fine:
            break;
        case Markup::TooLong:
            return beyond(QStringLiteral("The file holds a stretch of XML text or markup of more "
                                         "than %L1 characters, the most Orbalin reads (line %L2).")
                              .arg(maximumRun)
                              .arg(units.lineOf(where)));
        case Markup::TooManyAttributes:
            return beyond(QStringLiteral("The file has an element with more than %L1 attributes, "
                                         "the most Orbalin reads (line %L2).")
                              .arg(maximumXmlAttributes)
                              .arg(units.lineOf(where)));
        case Markup::Subset:
        case Markup::SubsetWithEntities:
            return refuseAs(Failure::Kind::Damaged,
                            QStringLiteral("the document declares ") +
                                (markup == Markup::SubsetWithEntities
                                     ? QStringLiteral("entities")
                                     : QStringLiteral("a DTD of its own")),
                            units.lineOf(where));
        }
    }

    // Attaches a finished value to its container, or makes it the root.
    auto attach = [&](Ref ref) {
        if (stack.empty()) {
            root_ = ref;
            haveRoot = true;
            return;
        }
        Frame& parent = stack.back();
        if (parent.dictionary) {
            pending_.push_back(parent.key);
            parent.haveKey = false;
        }
        pending_.push_back(ref);
    };
    auto close = [&]() -> bool {
        const Frame frame = stack.back();
        if (frame.dictionary && frame.haveKey)
            return refuse(QStringLiteral("the key “%1” has no value")
                              .arg(textOf(records_[frame.key]).toString().left(40)));
        stack.pop_back();
        const std::size_t elements = pending_.size() - frame.first;
        Ref ref = noRef;
        if (elements == 0) {
            ref = frame.dictionary ? shared(EmptyDictionary, Type::Dictionary)
                                   : shared(EmptyArray, Type::Array);
        } else if (frame.dictionary && elements == 2) {
            const Record& key = records_[pending_[frame.first]];
            const Record& number = records_[pending_[frame.first + 1]];
            if (textOf(key) == QStringLiteral("CF$UID") && number.type == Type::Integer &&
                !number.flag && static_cast<std::int64_t>(number.payload) >= 0)
                ref = add(Record{Type::Uid, false, 0, number.payload});
        }
        if (ref == noRef) {
            const std::size_t count = frame.dictionary ? elements / 2 : elements;
            ref = add(Record{frame.dictionary ? Type::Dictionary : Type::Array, false,
                             static_cast<std::uint32_t>(count), pool_.size()});
            if (frame.dictionary) {
                for (std::size_t i = 0; i < count; ++i)
                    pool_.push_back(pending_[frame.first + 2 * i]);
                for (std::size_t i = 0; i < count; ++i)
                    pool_.push_back(pending_[frame.first + 2 * i + 1]);
            } else {
                pool_.insert(pool_.end(), pending_.begin() + qsizetype(frame.first),
                             pending_.end());
            }
        }
        pending_.resize(frame.first);
        attach(ref);
        return true;
    };
    // Makes the value of a leaf element from its text.
    auto finishLeaf = [&]() -> bool {
        inLeaf = false;
        if (leaf == QLatin1String("key")) {
            stack.back().key = addText(text);
            stack.back().haveKey = true;
            return true;
        }
        Record value;
        if (leaf == QLatin1String("true") || leaf == QLatin1String("false")) {
            if (!text.isEmpty())
                return refuse(QStringLiteral("a boolean holds text"));
            const bool truth = leaf == QLatin1String("true");
            attach(shared(truth ? True : False, Type::Boolean, truth));
            return true;
        }
        if (leaf == QLatin1String("string")) {
            attach(addText(text));
            return true;
        }
        if (leaf == QLatin1String("integer")) {
            std::int64_t integer = 0;
            value.type = Type::Integer;
            if (!parseInteger(text.trimmed(), &integer, &value.flag))
                return refuse(QStringLiteral("“%1” is not an integer").arg(text.left(40)));
            value.payload = static_cast<std::uint64_t>(integer);
        } else if (leaf == QLatin1String("real")) {
            bool ok = false;
            value.type = Type::Real;
            // QString::toDouble always reads a full stop as the decimal point.
            value.payload = std::bit_cast<std::uint64_t>(text.trimmed().toDouble(&ok));
            if (!ok)
                return refuse(QStringLiteral("“%1” is not a number").arg(text.left(40)));
        } else if (leaf == QLatin1String("date")) {
            const QDateTime date = QDateTime::fromString(text.trimmed(), Qt::ISODate);
            if (!date.isValid())
                return refuse(QStringLiteral("“%1” is not a date").arg(text.left(40)));
            value.type = Type::Date;
            value.payload = std::bit_cast<std::uint64_t>(
                static_cast<double>(date.toMSecsSinceEpoch()) / 1000.0 - referenceEpoch);
        } else { // data
            QByteArray base64 = text.toLatin1();
            base64.replace(' ', "").replace('\t', "").replace('\n', "").replace('\r', "");
            auto decoded =
                QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
            if (!decoded)
                return refuse(QStringLiteral("a <data> element is not valid base64"));
            if (decoded.decoded.isEmpty()) {
                attach(shared(EmptyData, Type::Data));
                return true;
            }
            value.type = Type::Data;
            value.count = static_cast<std::uint32_t>(decoded.decoded.size());
            unsigned char* at = allocate(value.count);
            std::memcpy(at, decoded.decoded.constData(), value.count);
            value.payload = reinterpret_cast<std::uintptr_t>(at);
        }
        attach(add(value));
        return true;
    };

    auto feed = [&] {
        const qsizetype size = std::min(feedSize, data.size() - fed);
        xml.addData(data.mid(fed, size));
        fed += size;
    };
    feed();
    for (std::uint64_t tokens = 0;; ++tokens) {
        if (tokens % codecCheckInterval == 0) {
            if (work.cancelled()) {
                *failure = {Failure::Kind::Cancelled, QString()};
                return false;
            }
            work.report(data.isEmpty() ? 0.0 : double(fed) / double(data.size()));
        }
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::Invalid) {
            if (xml.error() == QXmlStreamReader::PrematureEndOfDocumentError && fed < data.size()) {
                feed();
                continue;
            }
            break;
        }
        if (token == QXmlStreamReader::EndDocument)
            break;
        if (token == QXmlStreamReader::DTD) {
            // Entity declarations are the only thing a DTD could change here, and a plist
            // never needs them.
            if (!xml.entityDeclarations().isEmpty() || !xml.notationDeclarations().isEmpty())
                return refuseAs(Failure::Kind::Damaged,
                                QStringLiteral("the document declares entities"), xml.lineNumber());
            continue;
        }
        if (token == QXmlStreamReader::Characters) {
            if (inLeaf) {
                if (std::size_t(text.size()) + std::size_t(xml.text().size()) > maximumXmlText)
                    return beyond(QStringLiteral("The file holds a value of more than %L1 "
                                                 "characters, the most Orbalin reads (line %L2).")
                                      .arg(maximumXmlText)
                                      .arg(xml.lineNumber()));
                text += xml.text();
            } else if (!xml.isWhitespace()) {
                return refuse(QStringLiteral("text “%1” stands outside any value")
                                  .arg(xml.text().left(20).toString()));
            }
            continue;
        }
        if (token == QXmlStreamReader::EndElement) {
            if (inLeaf) {
                if (!finishLeaf())
                    return false;
            } else if (!stack.empty() && !close()) {
                return false;
            }
            continue; // (or </plist>)
        }
        if (token != QXmlStreamReader::StartElement)
            continue;

        const QStringView name = xml.name();
        if (inLeaf)
            return refuse(QStringLiteral("<%1> holds an element").arg(leaf));
        if (!insidePlist) {
            if (name != QLatin1String("plist"))
                return refuse(QStringLiteral("the document is not a <plist>"));
            insidePlist = true;
            continue;
        }
        if (name == QLatin1String("key")) {
            if (stack.empty() || !stack.back().dictionary || stack.back().haveKey)
                return refuse(QStringLiteral("a <key> stands outside a dictionary"));
            leaf = name.toString();
            inLeaf = true;
            text.clear();
            continue;
        }
        if (stack.empty() && haveRoot)
            return refuse(QStringLiteral("the <plist> holds more than one value"));
        if (!stack.empty() && stack.back().dictionary && !stack.back().haveKey)
            return refuse(QStringLiteral("a dictionary value has no <key>"));
        if (++values > maximumXmlValues)
            return beyond(QStringLiteral("The file holds more than %L1 values, the most Orbalin "
                                         "reads.")
                              .arg(maximumXmlValues));
        const bool dictionary = name == QLatin1String("dict");
        if (dictionary || name == QLatin1String("array")) {
            if (stack.size() >= maximumXmlDepth)
                return beyond(QStringLiteral("The file nests values more than %L1 deep, the most "
                                             "Orbalin reads (line %L2).")
                                  .arg(maximumXmlDepth)
                                  .arg(xml.lineNumber()));
            stack.push_back(Frame{dictionary, false, 0, pending_.size()});
            continue;
        }
        static const QLatin1String leaves[] = {QLatin1String("string"), QLatin1String("integer"),
                                               QLatin1String("real"),   QLatin1String("true"),
                                               QLatin1String("false"),  QLatin1String("date"),
                                               QLatin1String("data")};
        if (std::find(std::begin(leaves), std::end(leaves), name) == std::end(leaves))
            return refuse(QStringLiteral("<%1> is not a property-list element")
                              .arg(name.left(40).toString()));
        leaf = name.toString();
        inLeaf = true;
        text.clear();
    }

    if (xml.hasError())
        return refuse(xml.errorString());
    if (!haveRoot)
        return refuse(QStringLiteral("the <plist> holds no value"));
    return true;
}

} // namespace

std::unique_ptr<ObjectSource> openXml(const QByteArray& data, Failure* failure,
                                      const CodecWork& work) {
    auto source = std::make_unique<XmlSource>();
    if (!source->read(data, failure, work))
        return nullptr;
    return source;
}

bool readXml(const QByteArray& data, Document* document, Failure* failure) {
    std::unique_ptr<ObjectSource> source = openXml(data, failure);
    if (!source)
        return false;
    document->objects.clear();
    for (Ref ref = 0; ref < source->count(); ++ref)
        document->objects.push_back(*source->value(ref));
    document->root = source->root();
    return true;
}

} // namespace plist
