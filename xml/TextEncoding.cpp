#include "xml/TextEncoding.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace
{
std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return (char) std::tolower(c); });
    return text;
}

bool LooksLikeUtf16(const std::string& text)
{
    if (text.size() >= 2 && ((text[0] == '\xFF' && text[1] == '\xFE') || (text[0] == '\xFE' && text[1] == '\xFF')))
        return true;
    // "<?" or "<R" with a zero byte before or after each letter, without a byte order mark.
    return text.size() >= 4 && ((text[0] == '<' && text[1] == '\0') || (text[0] == '\0' && text[1] == '<'));
}

// The encoding named by the declaration at the start ("" when none is named), and where its
// value lies in `text`.
std::string DeclaredEncoding(const std::string& text, size_t& valueAt, size_t& valueLength)
{
    size_t start = text.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
    // The reader skips white space before the declaration: so must this.
    while (start < text.size() && std::isspace((unsigned char) text[start]))
        ++start;
    // The reader takes "<?XML" in any case of letters as the declaration: so must this.
    if (Lower(text.substr(start, 5)) != "<?xml")
        return {};
    const size_t end = text.find("?>", start);
    if (end == std::string::npos)
        return {};
    // A malformed declaration names no encoding here; the reader refuses it.
    std::vector<TextEncoding::DeclarationAttribute> attributes;
    if (! TextEncoding::ReadDeclaration(text, start + 5, end, attributes))
        return {};
    for (const TextEncoding::DeclarationAttribute& a : attributes)
        if (a.name == "encoding")
        {
            valueAt = a.valueAt;
            valueLength = a.value.size();
            return a.value;
        }
    return {};
}

bool ValidDeclarationValue(const std::string& name, const std::string& value)
{
    if (name == "version")
        return value.size() > 2 && value.compare(0, 2, "1.") == 0
               && std::all_of(value.begin() + 2, value.end(), [](unsigned char c) { return std::isdigit(c); });
    if (name == "encoding")
        return ! value.empty() && std::isalpha((unsigned char) value[0])
               && std::all_of(value.begin(), value.end(), [](unsigned char c) {
                      return std::isalnum(c) || c == '.' || c == '_' || c == '-';
                  });
    if (name == "standalone")
        return value == "yes" || value == "no";
    return false;
}

// The offset of the first byte that does not belong to a well-formed UTF-8 sequence, or npos.
size_t FirstNonUtf8(const std::string& text)
{
    size_t i = 0;
    while (i < text.size())
    {
        // Designs are nearly all ASCII: eight bytes without a high bit are taken at once.
        if (i + sizeof(std::uint64_t) <= text.size())
        {
            std::uint64_t word;
            std::memcpy(&word, text.data() + i, sizeof word);
            if ((word & 0x8080808080808080ULL) == 0)
            {
                i += sizeof word;
                continue;
            }
        }
        const unsigned char c = (unsigned char) text[i];
        size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size())
            return i;
        unsigned long code = length == 1 ? c : length == 2 ? (c & 0x1F) : length == 3 ? (c & 0x0F) : (c & 0x07);
        for (size_t k = 1; k < length; ++k)
        {
            const unsigned char next = (unsigned char) text[i + k];
            if ((next & 0xC0) != 0x80)
                return i;
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and code points beyond Unicode are not UTF-8.
        const unsigned long least[] = { 0, 0, 0x80, 0x800, 0x10000 };
        if (code < least[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            return i;
        i += length;
    }
    return std::string::npos;
}

int LineAt(const std::string& text, size_t offset)
{
    return 1 + (int) std::count(text.begin(), text.begin() + (long) offset, '\n');
}
} // namespace

bool TextEncoding::ReadDeclaration(const std::string& text, size_t from, size_t to,
                                   std::vector<DeclarationAttribute>& attributes)
{
    const auto space = [&text](size_t i) { return std::isspace((unsigned char) text[i]) != 0; };
    size_t i = from;
    while (true)
    {
        const size_t before = i;
        while (i < to && space(i))
            ++i;
        if (i >= to)
            return true;
        if (i == before)
            return false;
        const size_t nameAt = i;
        while (i < to && std::isalpha((unsigned char) text[i]))
            ++i;
        const std::string name = text.substr(nameAt, i - nameAt);
        while (i < to && space(i))
            ++i;
        if (i >= to || text[i] != '=')
            return false;
        ++i;
        while (i < to && space(i))
            ++i;
        if (i >= to || (text[i] != '"' && text[i] != '\''))
            return false;
        const size_t close = text.find(text[i], i + 1);
        if (close == std::string::npos || close >= to)
            return false;
        DeclarationAttribute attribute { name, text.substr(i + 1, close - i - 1), i + 1 };
        if (! ValidDeclarationValue(attribute.name, attribute.value))
            return false;
        for (const DeclarationAttribute& seen : attributes)
            if (seen.name == attribute.name)
                return false;
        attributes.push_back(std::move(attribute));
        i = close + 1;
    }
}

bool TextEncoding::ToUtf8(std::string& text, std::string& error)
{
    if (LooksLikeUtf16(text))
    {
        error = "1: the file is UTF-16 text; a design must be UTF-8 (or ISO-8859-1, declared so)";
        return false;
    }
    size_t valueAt = 0;
    size_t valueLength = 0;
    const std::string declared = Lower(DeclaredEncoding(text, valueAt, valueLength));
    if (declared == "iso-8859-1" || declared == "iso8859-1" || declared == "latin1" || declared == "latin-1")
    {
        std::string converted;
        converted.reserve(text.size() + text.size() / 8);
        for (size_t i = 0; i < text.size(); ++i)
        {
            if (i == valueAt)
            {
                converted += "UTF-8";
                i += valueLength - 1;
                continue;
            }
            const unsigned char c = (unsigned char) text[i];
            if (c < 0x80)
            {
                converted += (char) c;
            }
            else
            {
                converted += (char) (0xC0 | (c >> 6));
                converted += (char) (0x80 | (c & 0x3F));
            }
        }
        text.swap(converted);
        return true;
    }
    if (! declared.empty() && declared != "utf-8" && declared != "utf8" && declared != "us-ascii" && declared != "ascii")
    {
        error = "1: its encoding \"" + DeclaredEncoding(text, valueAt, valueLength)
                + "\" is not read; a design must be UTF-8 or ISO-8859-1";
        return false;
    }
    const size_t bad = FirstNonUtf8(text);
    if (bad != std::string::npos)
    {
        char byte[8];
        std::snprintf(byte, sizeof byte, "0x%02X", (unsigned) (unsigned char) text[bad]);
        error = std::to_string(LineAt(text, bad)) + ": byte " + byte
                + " is not UTF-8; a file in ISO-8859-1 must say so in its XML declaration";
        return false;
    }
    return true;
}
