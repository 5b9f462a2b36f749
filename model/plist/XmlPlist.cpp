#include "XmlPlist.h"

#include "XmlMarkup.h"
#include "XmlObjects.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTimeZone>
#include <QXmlStreamReader>

#include <bit>
#include <deque>

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
// Text from the document can be of any length; messages show the start of it, and of stray
// text between elements a shorter start still, as it is seldom more than a slip.
constexpr qsizetype shownTextLength = 40;
constexpr qsizetype shownStrayTextLength = 20;

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

// An open container; its elements so far are `pending` from `first` on (a dictionary's as
// key, value, key, value...).
struct Frame {
    bool dictionary = false;
    bool haveKey = false;
    Ref key = 0;
    std::size_t first = 0;
};

// Reads a document into `objects`, telling what is wrong with it in messages of its own.
class XmlReading {
    Q_DECLARE_TR_FUNCTIONS(XmlReading)

  public:
    static bool read(const QByteArray& data, XmlObjects& objects, ReadProblem* problem,
                     BackgroundTask* task);
};

bool XmlReading::read(const QByteArray& data, XmlObjects& objects, ReadProblem* problem,
                      BackgroundTask* task) {
    std::deque<Ref> pending;
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

    auto refuseAs = [&](ReadProblem::Kind kind, QString message, qint64 line) {
        if (message.endsWith(u'.'))
            message.chop(1); // the XML reader's own messages are sentences
        *problem = {kind, kind == ReadProblem::Kind::Foreign
                              ? tr("it is an XML document, but not a property list "
                                   "(line %1: %2)")
                                    .arg(line)
                                    .arg(message)
                              : tr("XML property list, line %1: %2").arg(line).arg(message)};
        return false;
    };
    // Until the <plist> element opens, the XML may be anything at all.
    auto refuse = [&](const QString& message) {
        return refuseAs(insidePlist ? ReadProblem::Kind::Damaged : ReadProblem::Kind::Foreign,
                        message, xml.lineNumber());
    };
    auto beyond = [&](const QString& phrase) {
        *problem = {ReadProblem::Kind::Refused, phrase};
        return false;
    };

    {
        const MarkupScan scan = scanMarkup(data);
        const Markup markup = scan.markup;
        switch (markup) {
        case Markup::Fine:
            break;
        case Markup::TooLong:
            return beyond(tr("the file holds a stretch of XML text or markup of more "
                             "than %L1 characters, the most Orbalin reads (line %L2)")
                              .arg(maximumXmlRun)
                              .arg(scan.line));
        case Markup::TooManyAttributes:
            return beyond(tr("the file has an element with more than %L1 attributes, "
                             "the most Orbalin reads (line %L2)")
                              .arg(maximumXmlAttributes)
                              .arg(scan.line));
        case Markup::Subset:
        case Markup::SubsetWithEntities:
            return refuseAs(ReadProblem::Kind::Damaged,
                            markup == Markup::SubsetWithEntities
                                ? tr("the document declares entities")
                                : tr("the document declares a DTD of its own"),
                            scan.line);
        }
    }

    // Attaches a finished value to its container, or makes it the root.
    auto attach = [&](Ref ref) {
        if (stack.empty()) {
            objects.setRoot(ref);
            haveRoot = true;
            return;
        }
        Frame& parent = stack.back();
        if (parent.dictionary) {
            pending.push_back(parent.key);
            parent.haveKey = false;
        }
        pending.push_back(ref);
    };
    auto close = [&]() -> bool {
        const Frame frame = stack.back();
        if (frame.dictionary && frame.haveKey)
            return refuse(tr("the key “%1” has no value")
                              .arg(objects.textOf(frame.key).left(shownTextLength)));
        stack.pop_back();
        const Ref ref = objects.addContainer(frame.dictionary, pending, frame.first);
        pending.resize(frame.first);
        attach(ref);
        return true;
    };
    // Makes the value of a leaf element from its text.
    auto finishLeaf = [&]() -> bool {
        inLeaf = false;
        if (leaf == QLatin1String("key")) {
            stack.back().key = objects.addString(text);
            stack.back().haveKey = true;
            return true;
        }
        if (leaf == QLatin1String("true") || leaf == QLatin1String("false")) {
            if (!text.isEmpty())
                return refuse(tr("a boolean holds text"));
            attach(objects.addBoolean(leaf == QLatin1String("true")));
            return true;
        }
        if (leaf == QLatin1String("string")) {
            attach(objects.addString(text));
            return true;
        }
        if (leaf == QLatin1String("integer")) {
            std::int64_t integer = 0;
            bool isUnsigned = false;
            if (!parseInteger(text.trimmed(), &integer, &isUnsigned))
                return refuse(tr("“%1” is not an integer").arg(text.left(shownTextLength)));
            attach(
                objects.addNumber(Type::Integer, static_cast<std::uint64_t>(integer), isUnsigned));
        } else if (leaf == QLatin1String("real")) {
            bool ok = false;
            // QString::toDouble always reads a full stop as the decimal point.
            const double real = text.trimmed().toDouble(&ok);
            if (!ok)
                return refuse(tr("“%1” is not a number").arg(text.left(shownTextLength)));
            attach(objects.addNumber(Type::Real, std::bit_cast<std::uint64_t>(real)));
        } else if (leaf == QLatin1String("date")) {
            const QDateTime date = QDateTime::fromString(text.trimmed(), Qt::ISODate);
            if (!date.isValid())
                return refuse(tr("“%1” is not a date").arg(text.left(shownTextLength)));
            const double seconds =
                static_cast<double>(date.toMSecsSinceEpoch()) / 1000.0 - referenceEpoch;
            attach(objects.addNumber(Type::Date, std::bit_cast<std::uint64_t>(seconds)));
        } else { // data
            QByteArray base64 = text.toLatin1();
            base64.replace(' ', "").replace('\t', "").replace('\n', "").replace('\r', "");
            auto decoded =
                QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
            if (!decoded)
                return refuse(tr("a <data> element is not valid base64"));
            attach(objects.addData(decoded.decoded));
        }
        return true;
    };

    auto feed = [&] {
        const qsizetype size = std::min(feedSize, data.size() - fed);
        xml.addData(data.mid(fed, size));
        fed += size;
    };
    feed();
    for (std::uint64_t tokens = 0;; ++tokens) {
        if (task && tokens % checkInterval == 0) {
            if (task->isCancelled()) {
                *problem = {ReadProblem::Kind::Cancelled, QString()};
                return false;
            }
            task->setProgress(data.isEmpty() ? 0.0 : double(fed) / double(data.size()));
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
                return refuseAs(ReadProblem::Kind::Damaged, tr("the document declares entities"),
                                xml.lineNumber());
            continue;
        }
        if (token == QXmlStreamReader::Characters) {
            if (inLeaf) {
                if (std::size_t(text.size()) + std::size_t(xml.text().size()) > maximumXmlText)
                    return beyond(tr("the file holds a value of more than %L1 "
                                     "characters, the most Orbalin reads (line %L2)")
                                      .arg(maximumXmlText)
                                      .arg(xml.lineNumber()));
                text += xml.text();
            } else if (!xml.isWhitespace()) {
                return refuse(tr("text “%1” stands outside any value")
                                  .arg(xml.text().left(shownStrayTextLength).toString()));
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
            return refuse(tr("<%1> holds an element").arg(leaf));
        if (!insidePlist) {
            if (name != QLatin1String("plist"))
                return refuse(tr("the document is not a <plist>"));
            insidePlist = true;
            continue;
        }
        if (name == QLatin1String("key")) {
            if (stack.empty() || !stack.back().dictionary || stack.back().haveKey)
                return refuse(tr("a <key> stands outside a dictionary"));
            leaf = name.toString();
            inLeaf = true;
            text.clear();
            continue;
        }
        if (stack.empty() && haveRoot)
            return refuse(tr("the <plist> holds more than one value"));
        if (!stack.empty() && stack.back().dictionary && !stack.back().haveKey)
            return refuse(tr("a dictionary value has no <key>"));
        if (++values > maximumXmlValues)
            return beyond(tr("the file holds more than %L1 values, the most Orbalin "
                             "reads")
                              .arg(maximumXmlValues));
        const bool dictionary = name == QLatin1String("dict");
        if (dictionary || name == QLatin1String("array")) {
            if (stack.size() >= maximumXmlDepth)
                return beyond(tr("the file nests values more than %L1 deep, the most "
                                 "Orbalin reads (line %L2)")
                                  .arg(maximumXmlDepth)
                                  .arg(xml.lineNumber()));
            stack.push_back(Frame{dictionary, false, 0, pending.size()});
            continue;
        }
        static const QLatin1String leaves[] = {QLatin1String("string"), QLatin1String("integer"),
                                               QLatin1String("real"),   QLatin1String("true"),
                                               QLatin1String("false"),  QLatin1String("date"),
                                               QLatin1String("data")};
        if (std::find(std::begin(leaves), std::end(leaves), name) == std::end(leaves))
            return refuse(tr("<%1> is not a property-list element")
                              .arg(name.left(shownTextLength).toString()));
        leaf = name.toString();
        inLeaf = true;
        text.clear();
    }

    if (xml.hasError())
        return refuse(xml.errorString());
    if (!haveRoot)
        return refuse(tr("the <plist> holds no value"));
    return true;
}

} // namespace

std::unique_ptr<ObjectSource> openXml(const QByteArray& data, ReadProblem* problem,
                                      BackgroundTask* task) {
    auto objects = std::make_unique<XmlObjects>();
    if (!XmlReading::read(data, *objects, problem, task))
        return nullptr;
    return objects;
}

} // namespace plist
