#include "xml/CXmlTextReader.h"

#include "xml/TextEncoding.h"

#include <tinyxml.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string_view>
#include <vector>

namespace
{
bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool IsBlank(const std::string& s)
{
    return std::all_of(s.begin(), s.end(), IsSpace);
}

// Bytes of multi-byte UTF-8 sequences count as letters, as in TinyXML.
bool IsNameStart(unsigned char c)
{
    return c >= 0x80 || std::isalpha(c) || c == '_';
}

bool IsNameChar(unsigned char c)
{
    return IsNameStart(c) || std::isdigit(c) || c == '-' || c == '.' || c == ':';
}

void AppendUtf8(std::string& out, unsigned long code)
{
    if (code < 0x80)
        out += (char) code;
    else if (code < 0x800)
    {
        out += (char) (0xC0 | (code >> 6));
        out += (char) (0x80 | (code & 0x3F));
    }
    else if (code < 0x10000)
    {
        out += (char) (0xE0 | (code >> 12));
        out += (char) (0x80 | ((code >> 6) & 0x3F));
        out += (char) (0x80 | (code & 0x3F));
    }
    else
    {
        out += (char) (0xF0 | (code >> 18));
        out += (char) (0x80 | ((code >> 12) & 0x3F));
        out += (char) (0x80 | ((code >> 6) & 0x3F));
        out += (char) (0x80 | (code & 0x3F));
    }
}

// The character reference at raw[at] ('&'): appends its character and returns its length,
// or 0 when it is none (the '&' is then an ordinary character, as TinyXML takes it).
size_t DecodeReference(std::string_view raw, size_t at, std::string& out)
{
    static const struct { const char* name; char c; } kNamed[] = {
        { "&amp;", '&' }, { "&lt;", '<' }, { "&gt;", '>' }, { "&quot;", '"' }, { "&apos;", '\'' },
    };
    for (const auto& entry : kNamed)
    {
        const size_t n = std::strlen(entry.name);
        if (raw.compare(at, n, entry.name) == 0)
        {
            out += entry.c;
            return n;
        }
    }
    if (raw.compare(at, 2, "&#") != 0)
        return 0;
    const bool hex = at + 2 < raw.size() && raw[at + 2] == 'x';
    size_t i = at + (hex ? 3 : 2);
    const size_t first = i;
    unsigned long code = 0;
    for (; i < raw.size() && i - first < 8; ++i)
    {
        const unsigned char c = (unsigned char) raw[i];
        if (hex && std::isxdigit(c))
            code = code * 16 + (unsigned long) (std::isdigit(c) ? c - '0' : std::tolower(c) - 'a' + 10);
        else if (! hex && std::isdigit(c))
            code = code * 10 + (unsigned long) (c - '0');
        else
            break;
    }
    const bool valid = i > first && i < raw.size() && raw[i] == ';' && code != 0 && code <= 0x10FFFF
                       && ! (code >= 0xD800 && code <= 0xDFFF);
    if (! valid)
        return 0;
    AppendUtf8(out, code);
    return i + 1 - at;
}

// Replaces the references into `out`; with `condense`, drops leading and trailing white
// space and turns every run of it into one space.
void Decode(std::string_view raw, bool condense, std::string& out)
{
    out.clear();
    bool pendingSpace = false;
    for (size_t i = 0; i < raw.size();)
    {
        if (condense && IsSpace(raw[i]))
        {
            pendingSpace = ! out.empty();
            ++i;
            continue;
        }
        if (pendingSpace)
        {
            out += ' ';
            pendingSpace = false;
        }
        const size_t used = raw[i] == '&' ? DecodeReference(raw, i, out) : 0;
        if (used == 0)
            out += raw[i++];
        else
            i += used;
    }
}

} // namespace

CXmlTextReader::CXmlTextReader(const std::string& t, int depth) : text(t), maxDepth(depth) {}

std::string CXmlTextReader::Error() const
{
    const size_t end = std::min(faultAt, text.size());
    const long line = 1 + (long) std::count(text.begin(), text.begin() + (long) end, '\n');
    return std::to_string(line) + ": " + reason;
}

bool CXmlTextReader::Fail(const std::string& why)
{
    reason = why;
    faultAt = pos;
    return false;
}

bool CXmlTextReader::StartsWith(const char* prefix) const
{
    return text.compare(pos, std::strlen(prefix), prefix) == 0;
}

void CXmlTextReader::SkipSpace()
{
    while (pos < text.size() && IsSpace(text[pos]))
        ++pos;
}

bool CXmlTextReader::ReadName(std::string& name)
{
    const size_t start = pos;
    if (pos >= text.size() || ! IsNameStart((unsigned char) text[pos]))
        return false;
    while (pos < text.size() && IsNameChar((unsigned char) text[pos]))
        ++pos;
    name = text.substr(start, pos - start);
    return true;
}

bool CXmlTextReader::ReadUntil(const char* terminator, std::string& content)
{
    const size_t end = text.find(terminator, pos);
    if (end == std::string::npos)
        return Fail(std::string("no closing ") + terminator);
    content = text.substr(pos, end - pos);
    pos = end + std::strlen(terminator);
    return true;
}

bool CXmlTextReader::Read(TiXmlDocument& doc)
{
    if (text.find('\0') != std::string::npos)
    {
        pos = text.find('\0');
        return Fail("the text holds a NUL character");
    }
    if (StartsWith("\xEF\xBB\xBF"))
        pos = 3;

    while (true)
    {
        TiXmlNode* parent = open.empty() ? static_cast<TiXmlNode*>(&doc) : open.back();
        if (! ReadText(parent))
            return false;
        if (pos >= text.size())
            break;

        bool ok = false;
        if (StartsWith("</"))
            ok = ReadEndTag();
        else if (StartsWith("<!--"))
            ok = ReadComment(parent);
        else if (StartsWith("<![CDATA["))
            ok = ReadCData(parent);
        else if (StartsWith("<?"))
            ok = ReadInstruction(parent, open.empty() && ! rootSeen);
        else if (StartsWith("<!"))
            ok = ReadDocumentType(parent, open.empty() && ! rootSeen);
        else
            ok = ReadElement(parent);
        if (! ok)
            return false;
    }

    if (! open.empty())
        return Fail("the text ends inside <" + open.back()->ValueStr() + ">");
    if (! rootSeen)
        return Fail("no element");
    return true;
}

bool CXmlTextReader::ReadText(TiXmlNode* parent)
{
    size_t end = text.find('<', pos);
    if (end == std::string::npos)
        end = text.size();
    // Most texts are the indentation between tags: looked at where they stand, not copied.
    const bool blank = std::all_of(text.begin() + (long) pos, text.begin() + (long) end, IsSpace);
    if (open.empty())
    {
        if (! blank)
            return Fail("text outside the root element");
    }
    else if (! blank)
    {
        // Decoded where it stands into a buffer kept for the whole text: the node's own copy
        // is then the only block a number costs.
        Decode(std::string_view(text).substr(pos, end - pos), true, decoded);
        if (! IsBlank(decoded))
            parent->LinkEndChild(new TiXmlText(decoded));
    }
    pos = end;
    return true;
}

bool CXmlTextReader::ReadEndTag()
{
    pos += 2;
    std::string name;
    if (! ReadName(name))
        return Fail("an end tag without a name");
    SkipSpace();
    if (pos >= text.size() || text[pos] != '>')
        return Fail("end tag </" + name + " is not closed by '>'");
    if (open.empty())
        return Fail("end tag </" + name + "> without its start tag");
    if (open.back()->ValueStr() != name)
        return Fail("end tag </" + name + "> where </" + open.back()->ValueStr() + "> belongs");
    ++pos;
    open.pop_back();
    return true;
}

bool CXmlTextReader::ReadComment(TiXmlNode* parent)
{
    pos += 4;
    std::string content;
    if (! ReadUntil("-->", content))
        return false;
    auto* comment = new TiXmlComment();
    comment->SetValue(content);
    parent->LinkEndChild(comment);
    return true;
}

bool CXmlTextReader::ReadCData(TiXmlNode* parent)
{
    if (open.empty())
        return Fail("a CDATA section outside the root element");
    pos += 9;
    std::string content;
    if (! ReadUntil("]]>", content))
        return false;
    if (! IsBlank(content))
    {
        auto* node = new TiXmlText(content);
        node->SetCDATA(true);
        parent->LinkEndChild(node);
    }
    return true;
}

bool CXmlTextReader::ReadInstruction(TiXmlNode* parent, bool beforeRoot)
{
    const size_t start = pos;
    pos += 2;
    std::string content;
    if (! ReadUntil("?>", content))
        return false;
    std::string target = content.substr(0, std::min(content.size(), (size_t) 3));
    std::transform(target.begin(), target.end(), target.begin(),
                   [](unsigned char c) { return (char) std::tolower(c); });
    const bool declaration = target == "xml" && (content.size() == 3 || IsSpace(content[3]));
    if (declaration)
    {
        if (! beforeRoot || parent->FirstChild() != nullptr)
        {
            pos = start;
            return Fail("the XML declaration is not at the start");
        }
        std::vector<TextEncoding::DeclarationAttribute> attributes;
        if (! TextEncoding::ReadDeclaration(content, 3, content.size(), attributes))
        {
            pos = start;
            return Fail("a malformed XML declaration");
        }
        const auto value = [&attributes](const std::string& name) {
            for (const TextEncoding::DeclarationAttribute& a : attributes)
                if (a.name == name)
                    return a.value;
            return std::string();
        };
        parent->LinkEndChild(new TiXmlDeclaration(value("version"), value("encoding"), value("standalone")));
        return true;
    }
    auto* instruction = new TiXmlUnknown();
    instruction->SetValue("?" + content + "?");
    parent->LinkEndChild(instruction);
    return true;
}

bool CXmlTextReader::ReadDocumentType(TiXmlNode* parent, bool beforeRoot)
{
    if (! beforeRoot)
        return Fail("a markup declaration after the root element started");
    pos += 2;
    std::string content;
    if (! ReadUntil(">", content))
        return false;
    if (content.find_first_of("[<") != std::string::npos)
        return Fail("a document type with an internal subset");
    auto* declaration = new TiXmlUnknown();
    declaration->SetValue("!" + content);
    parent->LinkEndChild(declaration);
    return true;
}

bool CXmlTextReader::ReadElement(TiXmlNode* parent)
{
    ++pos;
    std::string name;
    if (! ReadName(name))
        return Fail("'<' not followed by a name");
    if (open.empty() && rootSeen)
        return Fail("a second root element <" + name + ">");
    if ((int) open.size() >= maxDepth)
        return Fail("elements nested deeper than " + std::to_string(maxDepth));

    auto* element = new TiXmlElement(name);
    parent->LinkEndChild(element);
    rootSeen = true;
    bool empty = false;
    if (! ReadAttributes(element, empty))
        return false;
    if (! empty)
        open.push_back(element);
    return true;
}

bool CXmlTextReader::ReadAttributes(TiXmlElement* element, bool& empty)
{
    while (true)
    {
        SkipSpace();
        if (pos >= text.size())
            return Fail("the text ends inside the tag <" + element->ValueStr() + ">");
        if (text[pos] == '>')
        {
            ++pos;
            return true;
        }
        if (StartsWith("/>"))
        {
            pos += 2;
            empty = true;
            return true;
        }
        std::string name;
        if (! ReadName(name))
            return Fail("a stray character in the tag <" + element->ValueStr() + ">");
        SkipSpace();
        if (pos >= text.size() || text[pos] != '=')
            return Fail("attribute " + name + " of <" + element->ValueStr() + "> has no '='");
        ++pos;
        SkipSpace();
        if (pos >= text.size() || (text[pos] != '"' && text[pos] != '\''))
            return Fail("attribute " + name + " of <" + element->ValueStr() + "> has no quoted value");
        const char quote[2] = { text[pos], 0 };
        ++pos;
        std::string raw;
        if (! ReadUntil(quote, raw))
            return false;
        if (raw.find('<') != std::string::npos)
            return Fail("attribute " + name + " of <" + element->ValueStr() + "> holds '<'");
        if (element->Attribute(name) != nullptr)
            return Fail("attribute " + name + " of <" + element->ValueStr() + "> is given twice");
        Decode(raw, false, decoded);
        element->SetAttribute(name, decoded);
    }
}
