#pragma once
// A file-backed XML document; owns the TinyXML document and, through it, every element
// and its CXmlNode. TinyXML's errors stop here. GUI message thread only.

#include <string>

class CXmlNode;
class TiXmlDocument;

class CXmlDocument
{
public:
    // Texts nested deeper than this are refused before the parser runs (it recurses).
    static constexpr int kMaxDepth = 1000;

    CXmlDocument();
    virtual ~CXmlDocument();

    // Replaces the content by the file's; a missing or unparsable file leaves a
    // declaration and an empty root. Returns true.
    bool Load(const std::string& fileName);
    // Writes the document (to a temporary file, then renamed over the target).
    // Returns false when the file could not be written.
    bool Save(const std::string& fileName);
    bool ParseText(const std::string& text);
    // The serialized document as Save would write it.
    std::string ToText();

    CXmlNode* GetRoot(const std::string& name);
    CXmlNode* ClearRoot();

    void SetFileName(const std::string& name) { fileName = name; }
    std::string GetFileName() const { return fileName; }

    // True when the last Load or ParseText found well-formed XML.
    bool LastParseSucceeded() const { return lastParseOk; }
    // File, line and message of the last parse failure ("" after a success).
    std::string LastParseError() const { return lastError; }

    static bool ExceedsDepth(const std::string& text, int maxDepth);

private:
    TiXmlDocument* Doc();
    void ReleaseAll();
    bool ParseInto(const std::string& text, const std::string& source);

    std::string fileName;
    TiXmlDocument* doc = nullptr;
    bool lastParseOk = false;
    std::string lastError;
};
