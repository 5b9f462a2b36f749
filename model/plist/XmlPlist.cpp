#include "XmlPlist.h"

#include <QDateTime>
#include <QTimeZone>
#include <QXmlStreamReader>

#include <cmath>
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

struct Frame {
    Ref ref;
    bool dictionary;
    bool haveKey = false;
    QString key;
};

// Seconds from 1970-01-01 to 2001-01-01, the epoch of property-list dates.
constexpr double referenceEpoch = 978307200.0;

bool parseInteger(const QString& text, Value* value) {
    bool ok = false;
    const qlonglong signedValue = text.toLongLong(&ok, 10);
    if (ok) {
        value->integer = signedValue;
        return true;
    }
    const qulonglong unsignedValue = text.toULongLong(&ok, 10);
    if (!ok)
        return false;
    value->integer = static_cast<std::int64_t>(unsignedValue);
    value->integerUnsigned = true;
    return true;
}

} // namespace

bool readXml(const QByteArray& data, Document* document, Failure* failure) {
    QXmlStreamReader xml(data);
    std::vector<Frame> stack;
    bool insidePlist = false;
    bool haveRoot = false;

    auto refuseAs = [&](Failure::Kind kind, QString message) {
        if (message.endsWith(u'.'))
            message.chop(1); // the XML reader's own messages are sentences
        const qint64 line = xml.lineNumber();
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
        return refuseAs(insidePlist ? Failure::Kind::Damaged : Failure::Kind::Foreign, message);
    };

    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::Invalid)
            break;
        if (token == QXmlStreamReader::DTD) {
            // Entity declarations are the only thing a DTD could change here, and a plist
            // never needs them.
            if (!xml.entityDeclarations().isEmpty() || !xml.notationDeclarations().isEmpty())
                return refuseAs(Failure::Kind::Damaged,
                                QStringLiteral("the document declares entities"));
            continue;
        }
        if (token == QXmlStreamReader::Characters) {
            if (!xml.isWhitespace())
                return refuse(QStringLiteral("text “%1” stands outside any value")
                                  .arg(xml.text().left(20).toString()));
            continue;
        }
        if (token == QXmlStreamReader::EndElement) {
            if (stack.empty())
                continue; // </plist>
            const Frame frame = stack.back();
            if (frame.dictionary && frame.haveKey)
                return refuse(QStringLiteral("the key “%1” has no value").arg(frame.key));
            stack.pop_back();
            Value& finished = document->objects[frame.ref];
            if (frame.dictionary && finished.keys.size() == 1 &&
                finished.keys[0] == QLatin1String("CF$UID")) {
                const Value& number = document->objects[finished.items[0]];
                if (number.type == Type::Integer && !number.integerUnsigned &&
                    number.integer >= 0) {
                    const auto uid = static_cast<std::uint64_t>(number.integer);
                    finished = Value::makeUid(uid);
                }
            }
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;

        const QStringView name = xml.name();
        if (!insidePlist) {
            if (name != QLatin1String("plist"))
                return refuse(QStringLiteral("the document is not a <plist>"));
            insidePlist = true;
            continue;
        }
        if (name == QLatin1String("key")) {
            if (stack.empty() || !stack.back().dictionary || stack.back().haveKey)
                return refuse(QStringLiteral("a <key> stands outside a dictionary"));
            stack.back().key = xml.readElementText();
            if (xml.hasError())
                break;
            stack.back().haveKey = true;
            continue;
        }
        if (stack.empty() && haveRoot)
            return refuse(QStringLiteral("the <plist> holds more than one value"));
        if (!stack.empty() && stack.back().dictionary && !stack.back().haveKey)
            return refuse(QStringLiteral("a dictionary value has no <key>"));

        Value value;
        bool container = false;
        if (name == QLatin1String("dict")) {
            value.type = Type::Dictionary;
            container = true;
        } else if (name == QLatin1String("array")) {
            value.type = Type::Array;
            container = true;
        } else if (name == QLatin1String("true") || name == QLatin1String("false")) {
            value.type = Type::Boolean;
            value.boolean = name == QLatin1String("true");
            if (!xml.readElementText().isEmpty())
                return refuse(QStringLiteral("a boolean holds text"));
        } else {
            const QString elementName = name.toString();
            const QString text = xml.readElementText();
            if (xml.hasError())
                break;
            if (elementName == QLatin1String("string")) {
                value.type = Type::String;
                value.string = text;
            } else if (elementName == QLatin1String("integer")) {
                value.type = Type::Integer;
                if (!parseInteger(text.trimmed(), &value))
                    return refuse(QStringLiteral("“%1” is not an integer").arg(text.left(40)));
            } else if (elementName == QLatin1String("real")) {
                bool ok = false;
                value.type = Type::Real;
                // QString::toDouble always reads a full stop as the decimal point.
                value.real = text.trimmed().toDouble(&ok);
                if (!ok)
                    return refuse(QStringLiteral("“%1” is not a number").arg(text.left(40)));
            } else if (elementName == QLatin1String("date")) {
                const QDateTime date = QDateTime::fromString(text.trimmed(), Qt::ISODate);
                if (!date.isValid())
                    return refuse(QStringLiteral("“%1” is not a date").arg(text.left(40)));
                value.type = Type::Date;
                value.real =
                    static_cast<double>(date.toMSecsSinceEpoch()) / 1000.0 - referenceEpoch;
            } else if (elementName == QLatin1String("data")) {
                QByteArray base64 = text.toLatin1();
                base64.replace(' ', "").replace('\t', "").replace('\n', "").replace('\r', "");
                auto decoded =
                    QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
                if (!decoded)
                    return refuse(QStringLiteral("a <data> element is not valid base64"));
                value.type = Type::Data;
                value.data = *decoded;
            } else {
                return refuse(QStringLiteral("<%1> is not a property-list element")
                                  .arg(elementName.left(40)));
            }
        }

        if (document->objects.size() >= std::numeric_limits<Ref>::max())
            return refuse(QStringLiteral("the document holds too many values"));
        const Ref ref = document->add(std::move(value));
        if (stack.empty()) {
            document->root = ref;
            haveRoot = true;
        } else {
            Frame& parent = stack.back();
            Value& parentValue = document->objects[parent.ref];
            parentValue.items.push_back(ref);
            if (parent.dictionary) {
                parentValue.keys.push_back(std::move(parent.key));
                parent.key.clear();
                parent.haveKey = false;
            }
        }
        if (container)
            stack.push_back(Frame{ref, name == QLatin1String("dict"), false, QString()});
    }

    if (xml.hasError())
        return refuse(xml.errorString());
    if (!haveRoot)
        return refuse(QStringLiteral("the <plist> holds no value"));
    return true;
}

} // namespace plist
