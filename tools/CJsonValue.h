#pragma once
// A JSON value for the command-line tool's report: null, boolean, number, string, array or
// object (keys kept in insertion order), written as indented UTF-8 text. Numbers that are
// not finite are written as null; strings are escaped, and bytes that are not valid UTF-8
// become U+FFFD, so the output is always valid JSON.

#include <string>
#include <utility>
#include <vector>

class CJsonValue
{
public:
    enum class Kind { Null, Boolean, Number, String, Array, Object };

    CJsonValue() = default;
    CJsonValue(bool value);
    CJsonValue(double value);
    CJsonValue(int value);
    CJsonValue(const char* value);
    CJsonValue(std::string value);

    static CJsonValue MakeArray();
    static CJsonValue MakeObject();

    Kind GetKind() const { return kind; }

    // Array: appends. Object: adds `key` (a repeated key replaces the earlier value).
    CJsonValue& Append(CJsonValue value);
    CJsonValue& Set(const std::string& key, CJsonValue value);

    // Two-space indentation, one member or element per line, no trailing newline.
    std::string ToText() const;

    // The shortest text that reads back as `value`; "null" when it is not finite.
    static std::string FormatNumber(double value);
    // `text` as a quoted JSON string.
    static std::string Quote(const std::string& text);

private:
    void Write(std::string& out, int depth) const;

    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0.0;
    std::string text;
    std::vector<CJsonValue> elements;
    std::vector<std::pair<std::string, CJsonValue>> members;
};
