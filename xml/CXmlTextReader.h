#pragma once
// Builds a TinyXML document from text with an explicit stack of open elements instead of
// recursion, so that no input of any shape can nest deeper than the limit it is given (the
// documents are then safe for every recursive walk: printing, copying, releasing).
// Reads: an XML declaration before the root element, processing instructions, comments,
// document type lines without an internal subset, elements with quoted attributes, text
// with the five named and the numeric character references, and CDATA sections. Text is
// trimmed and its runs of white space become one space, and white-space-only text is
// dropped, as TinyXML reads it. Anything else is refused with the line and a reason.

#include <cstddef>
#include <string>
#include <vector>

class TiXmlDocument;
class TiXmlElement;
class TiXmlNode;

class CXmlTextReader
{
public:
    CXmlTextReader(const std::string& text, int maxDepth);

    // Appends what the text holds to `doc` (expected empty). False on the first fault,
    // with Error() set; `doc` then holds what was read before it.
    bool Read(TiXmlDocument& doc);
    // "LINE: reason" of the fault.
    std::string Error() const;

private:
    bool Fail(const std::string& reason);
    bool StartsWith(const char* prefix) const;
    void SkipSpace();
    bool ReadName(std::string& name);
    bool ReadUntil(const char* terminator, std::string& content);
    bool ReadText(TiXmlNode* parent);
    bool ReadEndTag();
    bool ReadComment(TiXmlNode* parent);
    bool ReadCData(TiXmlNode* parent);
    bool ReadInstruction(TiXmlNode* parent, bool beforeRoot);
    bool ReadDocumentType(TiXmlNode* parent, bool beforeRoot);
    bool ReadElement(TiXmlNode* parent);
    bool ReadAttributes(TiXmlElement* element, bool& empty);

    const std::string& text;
    const int maxDepth;
    size_t pos = 0;
    size_t faultAt = 0;
    std::string reason;
    std::vector<TiXmlElement*> open;
    // Every decoded text and attribute value, in turn.
    std::string decoded;
    bool rootSeen = false;
};
