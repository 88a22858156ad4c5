#include "platform/x11/TextProperty.h"

#include <iconv.h>

#include <cctype>
#include <cerrno>

namespace {

constexpr std::string_view replacementCharacter = "\xEF\xBF\xBD";
constexpr char escape = 0x1B;
constexpr unsigned char controlSequenceIntroducer = 0x9B;

// A character set of compound text: its name for iconv ("ASCII" and "UTF-8" are taken
// as they are; empty for one the decoder does not know) and, for a set in the left half,
// whether its bytes are read with the high bit set (as the double-byte sets' EUC forms).
struct CharacterSet {
    std::string name;
    bool highBit = false;
};

// The 96-character sets designated with ESC - F, by F.
const char *ninetySixSet(char final)
{
    switch (final) {
    case 'A': return "ISO-8859-1";
    case 'B': return "ISO-8859-2";
    case 'C': return "ISO-8859-3";
    case 'D': return "ISO-8859-4";
    case 'F': return "ISO-8859-7";
    case 'G': return "ISO-8859-6";
    case 'H': return "ISO-8859-8";
    case 'L': return "ISO-8859-5";
    case 'M': return "ISO-8859-9";
    case 'T': return "TIS-620";
    case 'V': return "ISO-8859-10";
    case 'Y': return "ISO-8859-13";
    case '_': return "ISO-8859-14";
    case 'b': return "ISO-8859-15";
    case 'f': return "ISO-8859-16";
    }
    return "";
}

// The double-byte sets designated with ESC $ ( F or ESC $ ) F, read as their EUC form.
const char *doubleByteSet(char final)
{
    switch (final) {
    case 'A': return "EUC-CN";  // GB 2312
    case 'B': return "EUC-JP";  // JIS X 0208
    case 'C': return "EUC-KR";  // KS C 5601
    }
    return "";
}

// The encoding an extended segment names, as iconv knows it ("iso8859-15" is
// "ISO-8859-15", "big5-0" is "BIG5").
std::string extendedSegmentSet(std::string_view name)
{
    std::string upper;
    for (char c : name)
        upper += char(std::toupper(static_cast<unsigned char>(c)));
    if (upper.size() > 2 && upper.compare(upper.size() - 2, 2, "-0") == 0)
        upper.resize(upper.size() - 2);
    if (upper.rfind("ISO8859-", 0) == 0)
        upper.insert(3, "-");
    if (upper == "ISO10646-1")
        upper = "UTF-8";
    return upper;
}

void appendConverted(std::string &out, const std::string &set, std::string_view bytes)
{
    if (bytes.empty())
        return;
    const iconv_t converter = set.empty() ? iconv_t(-1) : iconv_open("UTF-8", set.c_str());
    if (converter == iconv_t(-1)) {
        for (std::size_t i = 0; i < bytes.size(); ++i)
            out += replacementCharacter;
        return;
    }
    char *in = const_cast<char *>(bytes.data());
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char buffer[256];
        char *o = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(converter, &in, &inLeft, &o, &outLeft);
        out.append(buffer, std::size_t(o - buffer));
        if (result == std::size_t(-1) && errno != E2BIG) {
            out += replacementCharacter;  // a byte that is no character, or a cut one
            ++in;
            --inLeft;
        }
    }
    iconv_close(converter);
}

std::string latin1ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        if (c < 0x80) {
            out += char(c);
        } else {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

class CompoundTextDecoder {
public:
    explicit CompoundTextDecoder(std::string_view bytes) : bytes_(bytes) {}

    std::string decode()
    {
        while (at_ < bytes_.size()) {
            const auto c = static_cast<unsigned char>(bytes_[at_++]);
            if (utf8_ && c != escape)
                add({"UTF-8"}, char(c));
            else if (c == escape)
                readEscapeSequence();
            else if (c == controlSequenceIntroducer)
                skipControlSequence();  // direction changes only
            else if (c == '\n' || c == '\t' || c == ' ')
                add({"ASCII"}, char(c));
            else if (c > 0x20 && c < 0x7F)
                add(left_, char(left_.highBit ? c | 0x80 : c));
            else if (c >= 0xA0)
                add(right_, char(c));
        }
        flush();
        return out_;
    }

private:
    void add(const CharacterSet &set, char byte)
    {
        if (set.name != pending_.name)
            flush();
        pending_ = set;
        pendingBytes_ += byte;
    }

    void flush()
    {
        if (pending_.name == "ASCII" || pending_.name == "UTF-8")
            out_ += pendingBytes_;
        else
            appendConverted(out_, pending_.name, pendingBytes_);
        pendingBytes_.clear();
    }

    void readEscapeSequence()
    {
        std::string intermediates;
        while (at_ < bytes_.size() && bytes_[at_] >= 0x20 && bytes_[at_] <= 0x2F)
            intermediates += bytes_[at_++];
        if (at_ >= bytes_.size())
            return;
        const char final = bytes_[at_++];
        if (intermediates == "(")
            left_ = {final == 'B' || final == 'J' ? "ASCII" : ""};  // JIS X 0201 Roman as ASCII
        else if (intermediates == ")")
            right_ = {""};
        else if (intermediates == "-")
            right_ = {ninetySixSet(final)};
        else if (intermediates == "$(")
            left_ = {doubleByteSet(final), true};
        else if (intermediates == "$)")
            right_ = {doubleByteSet(final)};
        else if (intermediates == "%")
            utf8_ = final == 'G';  // ESC % @ goes back
        else if (intermediates == "%/")
            readExtendedSegment();
    }

    // ESC % / F M L: a length in two bytes, then the encoding's name, STX and the text.
    void readExtendedSegment()
    {
        if (at_ + 2 > bytes_.size())
            return;
        const std::size_t length = std::size_t((static_cast<unsigned char>(bytes_[at_]) & 0x7F) * 128 +
                                               (static_cast<unsigned char>(bytes_[at_ + 1]) & 0x7F));
        at_ += 2;
        const std::string_view segment = bytes_.substr(at_, length);
        at_ += segment.size();
        const std::size_t end = segment.find('\x02');
        if (end == std::string_view::npos)
            return;
        flush();
        appendConverted(out_, extendedSegmentSet(segment.substr(0, end)), segment.substr(end + 1));
    }

    void skipControlSequence()
    {
        while (at_ < bytes_.size() && !(bytes_[at_] >= 0x40 && bytes_[at_] <= 0x7E))
            ++at_;
        ++at_;
    }

    std::string_view bytes_;
    std::size_t at_ = 0;
    CharacterSet left_{"ASCII"};
    CharacterSet right_{"ISO-8859-1"};
    bool utf8_ = false;
    CharacterSet pending_{"ASCII"};
    std::string pendingBytes_;
    std::string out_;
};

} // namespace

std::string textToUtf8(TextEncoding encoding, std::string_view bytes)
{
    switch (encoding) {
    case TextEncoding::Utf8: return std::string(bytes);
    case TextEncoding::Latin1: return latin1ToUtf8(bytes);
    case TextEncoding::CompoundText: return CompoundTextDecoder(bytes).decode();
    }
    return {};
}
