#pragma once
// Writes a TinyXML document in TinyXML's printed layout (four-space indentation, a text
// alone in its element kept on the element's line), escaping every '&', '<', '>', quote
// and control character of texts and attribute values. TinyXML's own printer copies a
// value's "&#x...;" through unescaped, so a value such as "&#x<" would be written as markup
// and the file could not be read back.

#include <tinyxml.h>

#include <string>

class CXmlPrinter : public TiXmlVisitor
{
public:
    static std::string Print(const TiXmlDocument& doc);

    bool VisitEnter(const TiXmlElement& element, const TiXmlAttribute* firstAttribute) override;
    bool VisitExit(const TiXmlElement& element) override;
    bool Visit(const TiXmlDeclaration& declaration) override;
    bool Visit(const TiXmlText& text) override;
    bool Visit(const TiXmlComment& comment) override;
    bool Visit(const TiXmlUnknown& unknown) override;

private:
    void Indent();
    void LineBreak() { out += '\n'; }
    static void Escape(const std::string& value, std::string& to);

    std::string out;
    int depth = 0;
    bool textOnLine = false;
};
