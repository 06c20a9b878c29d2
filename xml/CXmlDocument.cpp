#include "xml/CXmlDocument.h"

#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <tinyxml.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <unistd.h>

CXmlDocument::CXmlDocument() = default;

CXmlDocument::~CXmlDocument()
{
    ReleaseAll();
    delete doc;
}

TiXmlDocument* CXmlDocument::Doc()
{
    if (doc == nullptr)
        doc = new TiXmlDocument();
    return doc;
}

void CXmlDocument::ReleaseAll()
{
    if (doc == nullptr)
        return;
    for (TiXmlElement* e = doc->FirstChildElement(); e != nullptr; e = e->NextSiblingElement())
        CXmlNode::ReleaseTree(e);
}

CXmlNode* CXmlDocument::GetRoot(const std::string& name)
{
    TiXmlDocument* d = Doc();
    if (TiXmlElement* first = d->FirstChildElement())
        return CXmlNode::NodeFor(first);
    d->LinkEndChild(new TiXmlDeclaration("1.0", "", ""));
    return CXmlNode::NodeFor(d->LinkEndChild(new TiXmlElement(CXmlNode::MakeTagName(name)))->ToElement());
}

CXmlNode* CXmlDocument::ClearRoot()
{
    GetRoot(Tag::Root)->ClearChildren();
    return GetRoot(Tag::Root);
}

bool CXmlDocument::ExceedsDepth(const std::string& text, int maxDepth)
{
    int depth = 0;
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i)
    {
        if (text[i] != '<')
            continue;
        if (text.compare(i, 4, "<!--") == 0)
        {
            const size_t end = text.find("-->", i + 4);
            if (end == std::string::npos)
                return false;
            i = end + 2;
        }
        else if (text.compare(i, 9, "<![CDATA[") == 0)
        {
            const size_t end = text.find("]]>", i + 9);
            if (end == std::string::npos)
                return false;
            i = end + 2;
        }
        else if (i + 1 < n && (text[i + 1] == '?' || text[i + 1] == '!'))
        {
            const size_t end = text.find('>', i + 2);
            if (end == std::string::npos)
                return false;
            i = end;
        }
        else if (i + 1 < n && text[i + 1] == '/')
        {
            --depth;
        }
        else
        {
            // An opening tag: find its end, skipping quoted attribute values.
            char quote = 0;
            size_t j = i + 1;
            for (; j < n; ++j)
            {
                if (quote != 0)
                {
                    if (text[j] == quote)
                        quote = 0;
                }
                else if (text[j] == '"' || text[j] == '\'')
                    quote = text[j];
                else if (text[j] == '>')
                    break;
            }
            if (j >= n)
                return false;
            if (text[j - 1] != '/' && ++depth > maxDepth)
                return true;
            i = j;
        }
    }
    return false;
}

bool CXmlDocument::ParseInto(const std::string& rawText, const std::string& source)
{
    ReleaseAll();
    Doc()->Clear();
    Doc()->ClearError();

    if (ExceedsDepth(rawText, kMaxDepth))
    {
        lastParseOk = false;
        lastError = source + ": elements nested deeper than " + std::to_string(kMaxDepth);
        return false;
    }

    std::string text;
    text.reserve(rawText.size());
    for (size_t i = 0; i < rawText.size(); ++i)
        if (! (rawText[i] == '\r' && i + 1 < rawText.size() && rawText[i + 1] == '\n'))
            text += rawText[i] == '\r' ? '\n' : rawText[i];

    doc->Parse(text.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
    lastParseOk = ! doc->Error() && doc->FirstChildElement() != nullptr;
    if (doc->Error())
        lastError = source + ":" + std::to_string(doc->ErrorRow()) + ": " + doc->ErrorDesc();
    else if (! lastParseOk)
        lastError = source + ": no element";
    else
        lastError.clear();
    return lastParseOk;
}

bool CXmlDocument::Load(const std::string& name)
{
    if (! name.empty())
        SetFileName(name);
    ClearRoot();

    std::ifstream in(fileName, std::ios::in | std::ios::binary);
    if (! in)
    {
        lastParseOk = false;
        lastError = fileName + ": cannot be opened";
        return true;
    }
    std::ostringstream content;
    content << in.rdbuf();
    ParseInto(content.str(), fileName);
    return true;
}

bool CXmlDocument::ParseText(const std::string& text)
{
    ParseInto(text, "text");
    return true;
}

std::string CXmlDocument::ToText()
{
    GetRoot(Tag::Root)->FlushValues();
    TiXmlPrinter printer;
    printer.SetIndent("    ");
    Doc()->Accept(&printer);
    return printer.Str();
}

bool CXmlDocument::Save(const std::string& name)
{
    const std::string target = name.empty() ? fileName : name;
    if (target.empty())
        return false;
    const std::string text = ToText();

    // Write beside the target and rename over it, so a failed save never leaves a
    // truncated file behind.
    const std::string temp = target + ".tmp" + std::to_string((long) getpid());
    FILE* f = std::fopen(temp.c_str(), "w");
    if (f == nullptr)
        return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    const bool flushed = std::fflush(f) == 0 && fsync(fileno(f)) == 0;
    const bool closed = std::fclose(f) == 0;
    if (! (written && flushed && closed) || std::rename(temp.c_str(), target.c_str()) != 0)
    {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}
