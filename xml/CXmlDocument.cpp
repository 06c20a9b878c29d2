#include "xml/CXmlDocument.h"

#include "xml/CXmlNode.h"
#include "xml/CXmlPrinter.h"
#include "xml/DocumentCounts.h"
#include "xml/CXmlTextReader.h"
#include "xml/SafeFile.h"
#include "xml/TextEncoding.h"
#include "xml/XmlTags.h"

#include <tinyxml.h>

#include <utility>

CXmlDocument::CXmlDocument() = default;

CXmlDocument::~CXmlDocument()
{
    ReleaseAll();
    delete doc;
    delete counts;
    DropContentAside();
}

TiXmlDocument* CXmlDocument::Doc()
{
    if (doc == nullptr)
    {
        doc = new TiXmlDocument();
        counts = new DocumentCounts();
        doc->SetUserData(counts);
    }
    return doc;
}

void CXmlDocument::ReleaseAll()
{
    if (doc == nullptr)
        return;
    for (TiXmlElement* e = doc->FirstChildElement(); e != nullptr; e = e->NextSiblingElement())
        CXmlNode::ReleaseTree(e);
}

bool CXmlDocument::HoldsItsPrint()
{
    return doc != nullptr && StillHolds(printed);
}

void CXmlDocument::SetContentAside()
{
    if (! HoldsItsPrint())
        return;
    // Its elements' nodes go as on any replacement: whoever pointed at them is told, and the
    // content taken back gets new ones.
    ReleaseAll();
    DropContentAside();
    asideDoc = doc;
    asideCounts = counts;
    asidePrint = std::move(printed);
    doc = nullptr;
    counts = nullptr;
    printedAt = 0;
}

void CXmlDocument::ReplaceContent(TiXmlDocument* newDoc, DocumentCounts* newCounts)
{
    SetContentAside();
    ReleaseAll();
    delete doc;
    delete counts;
    doc = newDoc;
    counts = newCounts;
}

void CXmlDocument::DropContentAside()
{
    delete asideDoc;
    delete asideCounts;
    asideDoc = nullptr;
    asideCounts = nullptr;
    asidePrint.reset();
}

CXmlNode* CXmlDocument::GetRoot(const std::string& name)
{
    TiXmlDocument* d = Doc();
    if (TiXmlElement* first = d->FirstChildElement())
        return CXmlNode::NodeFor(first);
    counts->NoteNewContent();
    d->LinkEndChild(new TiXmlDeclaration("1.0", "", ""));
    return CXmlNode::NodeFor(d->LinkEndChild(new TiXmlElement(CXmlNode::MakeTagName(name)))->ToElement());
}

CXmlNode* CXmlDocument::ClearRoot()
{
    // Content that is exactly its kept print is replaced by an emptied copy instead of being
    // emptied in place, so that it can be put back as it stood (an array file brings its own
    // venue, and its undo takes the venue before it back without reading it).
    if (HoldsItsPrint())
    {
        auto* emptied = new TiXmlDocument();
        const TiXmlElement* root = doc->FirstChildElement();
        for (const TiXmlNode* n = doc->FirstChild(); n != nullptr; n = n->NextSibling())
        {
            if (n != root)
            {
                emptied->InsertEndChild(*n);
                continue;
            }
            // What emptying it in place keeps: its name and attributes.
            TiXmlElement bare(root->ValueStr());
            for (const TiXmlAttribute* a = root->FirstAttribute(); a != nullptr; a = a->Next())
                bare.SetAttribute(a->NameTStr(), a->ValueStr());
            emptied->InsertEndChild(bare);
        }
        auto* emptiedCounts = new DocumentCounts();
        emptied->SetUserData(emptiedCounts);
        ReplaceContent(emptied, emptiedCounts);
        counts->NoteNewContent();
        return GetRoot(Tag::Root);
    }
    GetRoot(Tag::Root)->ClearChildren();
    return GetRoot(Tag::Root);
}

bool CXmlDocument::ParseInto(std::string content, const std::string& source)
{
    SetContentAside();
    Doc();
    counts->NoteNewContent();
    ReleaseAll();
    doc->Clear();
    doc->ClearError();

    std::string encodingError;
    if (! TextEncoding::ToUtf8(content, encodingError))
    {
        lastParseOk = false;
        lastError = source + ":" + encodingError;
        return false;
    }
    // Line ends are read as XML reads them: CR LF and a lone CR as LF.
    std::string text;
    if (content.find('\r') == std::string::npos)
        text = std::move(content);
    else
    {
        text.reserve(content.size());
        for (size_t i = 0; i < content.size(); ++i)
            if (! (content[i] == '\r' && i + 1 < content.size() && content[i + 1] == '\n'))
                text += content[i] == '\r' ? '\n' : content[i];
    }

    // TinyXML's own parse recurses once per level without a limit; this reader does not.
    CXmlTextReader reader(text, kMaxDepth);
    lastParseOk = reader.Read(*doc);
    if (lastParseOk)
    {
        lastError.clear();
        return true;
    }
    lastError = source + ":" + reader.Error();
    ReleaseAll();
    doc->Clear();
    return false;
}

bool CXmlDocument::Load(const std::string& name)
{
    if (! name.empty())
        SetFileName(name);
    SetContentAside();
    ClearRoot();

    std::string content;
    std::string error;
    if (! SafeFile::ReadRegularFile(fileName, content, error))
    {
        lastParseOk = false;
        lastError = fileName + ": " + error;
        return true;
    }
    ParseInto(std::move(content), fileName);
    return true;
}

bool CXmlDocument::ParseText(const std::string& text)
{
    ParseInto(text, "text");
    return true;
}

bool CXmlDocument::PutBack(const std::shared_ptr<const std::string>& print)
{
    if (asideDoc == nullptr || print != asidePrint)
        return ParseText(*print);
    TiXmlDocument* backDoc = std::exchange(asideDoc, nullptr);
    DocumentCounts* backCounts = std::exchange(asideCounts, nullptr);
    std::shared_ptr<const std::string> backPrint = std::move(asidePrint);
    ReplaceContent(backDoc, backCounts);
    printed = std::move(backPrint);
    printedAt = counts->changes;
    lastParseOk = true;
    lastError.clear();
    return true;
}

std::shared_ptr<const std::string> CXmlDocument::Printed()
{
    FlushIfDue();
    if (printed == nullptr || printedAt != counts->changes)
    {
        printed = std::make_shared<const std::string>(CXmlPrinter::Print(*Doc()));
        printedAt = counts->changes;
    }
    return printed;
}

bool CXmlDocument::StillHolds(const std::shared_ptr<const std::string>& print)
{
    if (print == nullptr || print != printed)
        return false;
    // A value set through a cached point or line since shows only once flushed.
    FlushIfDue();
    return printedAt == counts->changes;
}

void CXmlDocument::FlushIfDue()
{
    CXmlNode* root = GetRoot(Tag::Root);
    if (CXmlNode::FlushIsDue(*counts))
        CXmlNode::Flush(root, *counts);
}

bool CXmlDocument::Save(const std::string& name)
{
    const std::string target = name.empty() ? fileName : name;
    saveError.clear();
    if (target.empty())
    {
        saveError = "no file name";
        return false;
    }
    return SafeFile::WriteFileAtomically(target, ToText(), saveError);
}

void CXmlDocument::TakeContentFrom(CXmlDocument& other)
{
    if (&other == this)
        return;
    // The counts go with the content: its elements find them through it.
    ReplaceContent(std::exchange(other.doc, nullptr), std::exchange(other.counts, nullptr));
    printed.reset();
    other.printed.reset();
    fileName = other.fileName;
    lastParseOk = other.lastParseOk;
    lastError = other.lastError;
}
