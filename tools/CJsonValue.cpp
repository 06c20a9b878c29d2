#include "CJsonValue.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace
{
const char* const kReplacementCharacter = "\xEF\xBF\xBD";

bool IsContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence at `i`, or 0 when there is none.
size_t SequenceLength(const std::string& s, size_t i)
{
    const auto at = [&s](size_t k) { return k < s.size() ? (unsigned char) s[k] : (unsigned char) 0; };
    const unsigned char c = at(i);
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF)
        return IsContinuation(at(i + 1)) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF)
    {
        const unsigned char c1 = at(i + 1);
        // No overlong forms, no surrogates.
        const bool first = c == 0xE0 ? (c1 >= 0xA0 && c1 <= 0xBF) : c == 0xED ? (c1 >= 0x80 && c1 <= 0x9F)
                                                                              : IsContinuation(c1);
        return first && IsContinuation(at(i + 2)) ? 3 : 0;
    }
    if (c >= 0xF0 && c <= 0xF4)
    {
        const unsigned char c1 = at(i + 1);
        const bool first = c == 0xF0 ? (c1 >= 0x90 && c1 <= 0xBF) : c == 0xF4 ? (c1 >= 0x80 && c1 <= 0x8F)
                                                                              : IsContinuation(c1);
        return first && IsContinuation(at(i + 2)) && IsContinuation(at(i + 3)) ? 4 : 0;
    }
    return 0;
}

void Indent(std::string& out, int depth)
{
    out += '\n';
    out.append((size_t) depth * 2, ' ');
}
} // namespace

CJsonValue::CJsonValue(bool value) : kind(Kind::Boolean), boolean(value) {}
CJsonValue::CJsonValue(double value) : kind(Kind::Number), number(value) {}
CJsonValue::CJsonValue(int value) : kind(Kind::Number), number(value) {}
CJsonValue::CJsonValue(const char* value) : kind(Kind::String), text(value) {}
CJsonValue::CJsonValue(std::string value) : kind(Kind::String), text(std::move(value)) {}

CJsonValue CJsonValue::MakeArray()
{
    CJsonValue v;
    v.kind = Kind::Array;
    return v;
}

CJsonValue CJsonValue::MakeObject()
{
    CJsonValue v;
    v.kind = Kind::Object;
    return v;
}

CJsonValue& CJsonValue::Append(CJsonValue value)
{
    elements.push_back(std::move(value));
    return elements.back();
}

CJsonValue& CJsonValue::Set(const std::string& key, CJsonValue value)
{
    for (auto& member : members)
        if (member.first == key)
            return member.second = std::move(value);
    members.emplace_back(key, std::move(value));
    return members.back().second;
}

std::string CJsonValue::ToText() const
{
    std::string out;
    Write(out, 0);
    return out;
}

std::string CJsonValue::FormatNumber(double value)
{
    if (! std::isfinite(value))
        return "null";
    if (value == 0.0)
        return "0"; // a level array's tilt may be -0; readers need not see the sign
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value);
    return std::string(buffer, result.ptr);
}

std::string CJsonValue::Quote(const std::string& s)
{
    std::string out = "\"";
    for (size_t i = 0; i < s.size();)
    {
        const unsigned char c = (unsigned char) s[i];
        const size_t length = SequenceLength(s, i);
        if (length == 0)
        {
            out += kReplacementCharacter;
            ++i;
            continue;
        }
        if (length > 1)
        {
            out.append(s, i, length);
            i += length;
            continue;
        }
        switch (c)
        {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20 || c == 0x7F)
                {
                    char escaped[8];
                    std::snprintf(escaped, sizeof(escaped), "\\u%04x", (unsigned) c);
                    out += escaped;
                }
                else
                {
                    out += (char) c;
                }
        }
        ++i;
    }
    return out + "\"";
}

void CJsonValue::Write(std::string& out, int depth) const
{
    switch (kind)
    {
        case Kind::Null: out += "null"; return;
        case Kind::Boolean: out += boolean ? "true" : "false"; return;
        case Kind::Number: out += FormatNumber(number); return;
        case Kind::String: out += Quote(text); return;
        case Kind::Array:
            if (elements.empty())
            {
                out += "[]";
                return;
            }
            out += '[';
            for (size_t i = 0; i < elements.size(); ++i)
            {
                if (i > 0)
                    out += ',';
                Indent(out, depth + 1);
                elements[i].Write(out, depth + 1);
            }
            Indent(out, depth);
            out += ']';
            return;
        case Kind::Object:
            if (members.empty())
            {
                out += "{}";
                return;
            }
            out += '{';
            for (size_t i = 0; i < members.size(); ++i)
            {
                if (i > 0)
                    out += ',';
                Indent(out, depth + 1);
                out += Quote(members[i].first);
                out += ": ";
                members[i].second.Write(out, depth + 1);
            }
            Indent(out, depth);
            out += '}';
            return;
    }
}
