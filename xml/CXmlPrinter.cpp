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
    if (depth > 0)
        out.append((size_t) depth * 4, ' ');
}

void CXmlPrinter::Escape(const std::string& value, std::string& to)
{
    // Runs of plain characters, nearly all of a document, go over in one piece.
    size_t plainFrom = 0;
    for (size_t i = 0; i < value.size(); ++i)
    {
        const char c = value[i];
        const char* entity = nullptr;
        switch (c)
        {
            case '&':  entity = "&amp;"; break;
            case '<':  entity = "&lt;"; break;
            case '>':  entity = "&gt;"; break;
            case '"':  entity = "&quot;"; break;
            case '\'': entity = "&apos;"; break;
            default:
                if ((unsigned char) c >= 32)
                    continue;
        }
        to.append(value, plainFrom, i - plainFrom);
        plainFrom = i + 1;
        if (entity != nullptr)
        {
            to += entity;
            continue;
        }
        char reference[8];
        std::snprintf(reference, sizeof reference, "&#x%02X;", (unsigned) (unsigned char) c);
        to += reference;
    }
    to.append(value, plainFrom, std::string::npos);
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
