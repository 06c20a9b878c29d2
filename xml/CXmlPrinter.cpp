#include "xml/CXmlPrinter.h"

#include <cstdio>

std::string CXmlPrinter::Print(const TiXmlDocument& doc)
{
    CXmlPrinter printer;
    doc.Accept(&printer);
    return printer.out;
}

void CXmlPrinter::Indent()
{
    for (int i = 0; i < depth; ++i)
        out += "    ";
}

void CXmlPrinter::Escape(const std::string& value, std::string& to)
{
    for (const char c : value)
    {
        switch (c)
        {
            case '&':  to += "&amp;"; break;
            case '<':  to += "&lt;"; break;
            case '>':  to += "&gt;"; break;
            case '"':  to += "&quot;"; break;
            case '\'': to += "&apos;"; break;
            default:
                if ((unsigned char) c < 32)
                {
                    char reference[8];
                    std::snprintf(reference, sizeof reference, "&#x%02X;", (unsigned) (unsigned char) c);
                    to += reference;
                }
                else
                {
                    to += c;
                }
        }
    }
}

bool CXmlPrinter::VisitEnter(const TiXmlElement& element, const TiXmlAttribute* firstAttribute)
{
    Indent();
    out += '<';
    out += element.ValueStr();
    for (const TiXmlAttribute* a = firstAttribute; a != nullptr; a = a->Next())
    {
        const bool doubleQuotes = a->ValueStr().find('"') == std::string::npos;
        out += ' ';
        Escape(a->NameTStr(), out);
        out += doubleQuotes ? "=\"" : "='";
        Escape(a->ValueStr(), out);
        out += doubleQuotes ? '"' : '\'';
    }

    const TiXmlNode* first = element.FirstChild();
    if (first == nullptr)
    {
        out += " />";
        LineBreak();
    }
    else
    {
        out += '>';
        textOnLine = first->ToText() != nullptr && element.LastChild() == first && ! first->ToText()->CDATA();
        if (! textOnLine)
            LineBreak();
    }
    ++depth;
    return true;
}

bool CXmlPrinter::VisitExit(const TiXmlElement& element)
{
    --depth;
    if (element.FirstChild() == nullptr)
        return true;
    if (textOnLine)
        textOnLine = false;
    else
        Indent();
    out += "</";
    out += element.ValueStr();
    out += '>';
    LineBreak();
    return true;
}

bool CXmlPrinter::Visit(const TiXmlDeclaration& declaration)
{
    Indent();
    declaration.Print(nullptr, 0, &out);
    LineBreak();
    return true;
}

bool CXmlPrinter::Visit(const TiXmlText& text)
{
    if (text.CDATA())
    {
        Indent();
        out += "<![CDATA[";
        out += text.ValueStr();
        out += "]]>";
        LineBreak();
    }
    else if (textOnLine)
    {
        Escape(text.ValueStr(), out);
    }
    else
    {
        Indent();
        Escape(text.ValueStr(), out);
        LineBreak();
    }
    return true;
}

bool CXmlPrinter::Visit(const TiXmlComment& comment)
{
    Indent();
    out += "<!--";
    out += comment.ValueStr();
    out += "-->";
    LineBreak();
    return true;
}

bool CXmlPrinter::Visit(const TiXmlUnknown& unknown)
{
    Indent();
    out += '<';
    out += unknown.ValueStr();
    out += '>';
    LineBreak();
    return true;
}
