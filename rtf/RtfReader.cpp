#include "rtf/RtfReader.h"

#include "rtf/RtfSyntax.h"

#include <QHash>

#include <algorithm>
#include <cstdint>

namespace {

using namespace rtf;

constexpr char16_t lineSeparator = u'\u2028';

enum class Destination { Text, ColorTable, Skip };

struct GroupState {
    RtfCharFormat format;
    RtfAlignment alignment = RtfAlignment::Left;
    int unicodeSkip = 1;
    Destination destination = Destination::Text;
};

// Numeric parameters are clamped to this range; longer digit strings are consumed whole.
constexpr int64_t parameterLimit = 1'000'000'000;

class Reader {
  public:
    explicit Reader(const QByteArray& data)
        : data_(data) {}

    RtfDocument read() {
        qsizetype start = 0;
        while (start < data_.size() && isSpace(data_[start]))
            ++start;
        if (!data_.mid(start, 5).startsWith("{\\rtf"))
            return document_;
        document_.isRtf = true;
        position_ = start;
        bool closed = false;
        while (position_ < data_.size() && !closed)
            closed = step();
        if (closed) {
            // Anything but white space after the outermost group is damage; it is not read.
            document_.wellFormed = std::all_of(data_.begin() + position_, data_.end(),
                                               [](char c) { return isSpace(c) || c == '\0'; });
        } else {
            document_.wellFormed = false;
        }
        finishParagraph(false);
        for (RtfParagraph& paragraph : document_.paragraphs)
            for (RtfRun& run : paragraph.runs)
                run.text = withoutLoneSurrogates(run.text);
        return document_;
    }

  private:
    static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    // Reads one token; true once the outermost group has closed.
    bool step() {
        const char c = data_[position_++];
        switch (c) {
        case '{':
            stack_.push_back(state_);
            skipPending_ = 0;
            return false;
        case '}':
            skipPending_ = 0;
            if (stack_.empty())
                return true; // cannot happen after the opening brace, but stay safe
            state_ = stack_.back();
            stack_.pop_back();
            return stack_.empty();
        case '\\':
            controlSequence();
            return false;
        case '\r':
        case '\n':
            return false;
        default:
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
                return false;
            character(c == '\t' ? QChar(u'\t') : fromCodePage(static_cast<unsigned char>(c)));
            return false;
        }
    }

    void controlSequence() {
        if (position_ >= data_.size())
            return; // a lone backslash at the very end
        const char c = data_[position_];
        if (!isLetter(c)) {
            ++position_;
            controlSymbol(c);
            return;
        }
        const qsizetype nameStart = position_;
        while (position_ < data_.size() && isLetter(data_[position_]))
            ++position_;
        // RTF names are at most 32 letters; anything longer is unknown anyway.
        const QByteArray name =
            data_.mid(nameStart, std::min<qsizetype>(position_ - nameStart, 33));
        std::optional<int> parameter;
        bool negative = false;
        if (position_ + 1 < data_.size() && data_[position_] == '-' &&
            isDigit(data_[position_ + 1])) {
            negative = true;
            ++position_;
        }
        if (position_ < data_.size() && isDigit(data_[position_])) {
            int64_t value = 0;
            while (position_ < data_.size() && isDigit(data_[position_])) {
                value = std::min(value * 10 + (data_[position_] - '0'), parameterLimit);
                ++position_;
            }
            parameter = static_cast<int>(negative ? -value : value);
        }
        if (position_ < data_.size() && data_[position_] == ' ')
            ++position_;
        controlWord(name, parameter);
    }

    void controlSymbol(char c) {
        switch (c) {
        case '\\':
        case '{':
        case '}':
            character(QChar(static_cast<char16_t>(c)));
            break;
        case '\'': {
            const int high = position_ < data_.size() ? hexValue(data_[position_]) : -1;
            const int low = position_ + 1 < data_.size() ? hexValue(data_[position_ + 1]) : -1;
            if (high < 0 || low < 0)
                break; // a broken escape is dropped; what follows reads as text
            position_ += 2;
            character(fromCodePage(static_cast<unsigned char>(high * 16 + low)));
            break;
        }
        case '*':
            // An ignorable destination: this reader knows none of them.
            state_.destination = Destination::Skip;
            break;
        case '~':
            character(QChar(u'\u00A0'));
            break;
        case '_':
            character(QChar(u'\u2011'));
            break;
        case '\r':
        case '\n':
            if (!consumeSkipped())
                paragraphBreak();
            break;
        default: // \- (optional hyphen), \: and others carry no text
            consumeSkipped();
            break;
        }
    }

    void controlWord(const QByteArray& name, std::optional<int> parameter) {
        // The fallback text after \uN may hold control words; each counts as one character.
        if (name != "u" && consumeSkipped())
            return;
        if (const auto word = controlWords().constFind(name); word != controlWords().cend())
            (*word)(*this, parameter);
        else if (skippedDestinations().contains(name))
            state_.destination = Destination::Skip;
        // Every other control word is not needed here and is ignored.
    }

    // What each known control word does, given its numeric parameter if it has one.
    using ControlWord = void (*)(Reader&, std::optional<int>);

    static bool isOn(std::optional<int> parameter) { return !parameter || *parameter != 0; }

    template <char16_t ch> static void insert(Reader& reader, std::optional<int>) {
        reader.character(QChar(ch));
    }
    template <bool RtfCharFormat::*flag>
    static void toggle(Reader& reader, std::optional<int> parameter) {
        reader.state_.format.*flag = isOn(parameter);
    }
    template <RtfAlignment alignment> static void align(Reader& reader, std::optional<int>) {
        reader.state_.alignment = alignment;
    }
    template <int RtfColor::*component>
    static void colorComponent(Reader& reader, std::optional<int> parameter) {
        if (reader.state_.destination != Destination::ColorTable)
            return;
        reader.pendingColor_.*component = std::clamp(parameter.value_or(0), 0, 255);
        reader.pendingColorSet_ = true;
    }

    static const QHash<QByteArray, ControlWord>& controlWords() {
        static const QHash<QByteArray, ControlWord> words = {
            {"par", [](Reader& r, std::optional<int>) { r.paragraphBreak(); }},
            {"sect", [](Reader& r, std::optional<int>) { r.paragraphBreak(); }},
            {"page", [](Reader& r, std::optional<int>) { r.paragraphBreak(); }},
            {"line", &insert<lineSeparator>},
            {"tab", &insert<u'\t'>},
            {"emdash", &insert<u'\u2014'>},
            {"endash", &insert<u'\u2013'>},
            {"bullet", &insert<u'\u2022'>},
            {"lquote", &insert<u'\u2018'>},
            {"rquote", &insert<u'\u2019'>},
            {"ldblquote", &insert<u'\u201C'>},
            {"rdblquote", &insert<u'\u201D'>},
            {"emspace", &insert<u' '>},
            {"enspace", &insert<u' '>},
            {"qmspace", &insert<u' '>},
            {"b", &toggle<&RtfCharFormat::bold>},
            {"i", &toggle<&RtfCharFormat::italic>},
            {"ul", &toggle<&RtfCharFormat::underline>},
            {"ulw", &toggle<&RtfCharFormat::underline>},
            {"uld", &toggle<&RtfCharFormat::underline>},
            {"uldb", &toggle<&RtfCharFormat::underline>},
            {"ulnone", [](Reader& r, std::optional<int>) { r.state_.format.underline = false; }},
            {"fs",
             [](Reader& r, std::optional<int> p) {
                 r.state_.format.halfPoints = p && *p > 0 ? std::clamp(*p, 2, 3276) : 24;
             }},
            {"cf", [](Reader& r, std::optional<int> p) { r.setColor(p.value_or(0)); }},
            {"plain", [](Reader& r, std::optional<int>) { r.state_.format = RtfCharFormat(); }},
            {"pard", &align<RtfAlignment::Left>},
            {"ql", &align<RtfAlignment::Left>},
            {"qc", &align<RtfAlignment::Center>},
            {"qr", &align<RtfAlignment::Right>},
            {"qj", &align<RtfAlignment::Justify>},
            {"uc",
             [](Reader& r, std::optional<int> p) {
                 r.state_.unicodeSkip = std::clamp(p.value_or(1), 0, 16);
             }},
            {"u", [](Reader& r, std::optional<int> p) { r.unicodeEscape(p); }},
            {"bin",
             [](Reader& r, std::optional<int> p) {
                 const qsizetype length = std::max(p.value_or(0), 0);
                 r.position_ += std::min(length, r.data_.size() - r.position_);
             }},
            {"colortbl", [](Reader& r, std::optional<int>) { r.startColorTable(); }},
            {"red", &colorComponent<&RtfColor::red>},
            {"green", &colorComponent<&RtfColor::green>},
            {"blue", &colorComponent<&RtfColor::blue>},
        };
        return words;
    }

    void setColor(int index) {
        state_.format.color = index >= 0 && index < static_cast<int>(colors_.size())
                                  ? colors_[static_cast<std::size_t>(index)]
                                  : std::nullopt;
    }

    void unicodeEscape(std::optional<int> parameter) {
        if (!parameter)
            return;
        const int unit = *parameter < 0 ? *parameter + 65536 : *parameter;
        if (unit >= 0 && unit <= 0xFFFF)
            character(QChar(static_cast<char16_t>(unit)));
        skipPending_ = state_.unicodeSkip;
    }

    void startColorTable() {
        state_.destination = Destination::ColorTable;
        colors_.clear();
        pendingColor_ = RtfColor();
        pendingColorSet_ = false;
    }

    // True (and one character used up) while the fallback text of a \uN escape is skipped.
    bool consumeSkipped() {
        if (skipPending_ <= 0)
            return false;
        --skipPending_;
        return true;
    }

    void character(QChar ch) {
        if (consumeSkipped())
            return;
        switch (state_.destination) {
        case Destination::Skip:
            return;
        case Destination::ColorTable:
            if (ch == u';') {
                colors_.push_back(pendingColorSet_ ? std::optional(pendingColor_) : std::nullopt);
                pendingColor_ = RtfColor();
                pendingColorSet_ = false;
            }
            return;
        case Destination::Text:
            break;
        }
        std::vector<RtfRun>& runs = paragraph_.runs;
        if (runs.empty() || !(runs.back().format == state_.format))
            runs.push_back(RtfRun{QString(), state_.format});
        runs.back().text.append(ch);
    }

    void paragraphBreak() {
        if (state_.destination == Destination::Text)
            finishParagraph(true);
    }

    // An unfinished last paragraph is kept only when it holds text.
    void finishParagraph(bool ended) {
        if (!ended && paragraph_.runs.empty())
            return;
        paragraph_.alignment = state_.alignment;
        document_.paragraphs.push_back(std::move(paragraph_));
        paragraph_ = RtfParagraph();
    }

    static QString withoutLoneSurrogates(const QString& text) {
        QString result;
        result.reserve(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar ch = text[i];
            if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                result.append(ch);
                result.append(text[++i]);
            } else if (ch.isSurrogate()) {
                result.append(QChar(QChar::ReplacementCharacter));
            } else {
                result.append(ch);
            }
        }
        return result;
    }

    const QByteArray& data_;
    qsizetype position_ = 0;
    std::vector<GroupState> stack_;
    GroupState state_;
    int skipPending_ = 0;
    std::vector<std::optional<RtfColor>> colors_;
    RtfColor pendingColor_;
    bool pendingColorSet_ = false;
    RtfParagraph paragraph_;
    RtfDocument document_;
};

} // namespace

QString RtfParagraph::text() const {
    QString result;
    for (const RtfRun& run : runs)
        result += run.text;
    return result;
}

QString RtfDocument::plainText() const {
    QStringList lines;
    for (const RtfParagraph& paragraph : paragraphs)
        lines.append(paragraph.text());
    return lines.join(u'\n');
}

RtfDocument readRtf(const QByteArray& data) {
    return Reader(data).read();
}
