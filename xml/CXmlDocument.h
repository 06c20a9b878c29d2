#pragma once
// A file-backed XML document; owns the TinyXML document and, through it, every element
// and its CXmlNode. TinyXML's errors stop here. GUI message thread only.

#include <memory>
#include <string>

class CXmlNode;
class TiXmlDocument;
struct DocumentCounts;

class CXmlDocument
{
public:
    // Texts nested deeper than this are refused by the parse. The designs nest about a
    // dozen levels; the limit leaves room for hand-made files while keeping every
    // recursive walk of a document shallow and its printed, indented copy small.
    static constexpr int kMaxDepth = 64;

    CXmlDocument();
    virtual ~CXmlDocument();
    CXmlDocument(const CXmlDocument&) = delete;
    CXmlDocument& operator=(const CXmlDocument&) = delete;

    // Replaces the content by the file's, read once (only a regular file of bounded size,
    // see SafeFile); a missing, refused or unparsable file leaves a declaration and an
    // empty root. Returns true.
    bool Load(const std::string& fileName);
    // Writes the document safely (SafeFile::WriteFileAtomically). Returns false, with
    // LastSaveError set, when the file could not be written.
    bool Save(const std::string& fileName);
    bool ParseText(const std::string& text);
    // Puts back the content `print` was printed from: the content replaced last, when it was
    // exactly its kept print then and `print` is that print, is taken back as it stood (an
    // undo of a load, a load that failed half-way); any other text is parsed. The content
    // leaving is kept in turn, for a redo. `print` is not null. Returns true.
    bool PutBack(const std::shared_ptr<const std::string>& print);
    // The serialized document as Save would write it. The text printed last is kept and
    // shared again while this document has not changed since (undo captures a design before
    // and after every step, and most captures find it as it was printed).
    std::shared_ptr<const std::string> Printed();
    std::string ToText() { return *Printed(); }
    // True when `print` is this document's kept print and the document has not changed
    // since it was printed: putting that text back would change nothing.
    bool StillHolds(const std::shared_ptr<const std::string>& print);

    CXmlNode* GetRoot(const std::string& name);
    // Empties the root element (its attributes stay) and returns it. Content that is exactly
    // its kept print is set aside for PutBack, as on any replacement.
    CXmlNode* ClearRoot();

    void SetFileName(const std::string& name) { fileName = name; }
    std::string GetFileName() const { return fileName; }

    // True when the last Load or ParseText found well-formed XML.
    bool LastParseSucceeded() const { return lastParseOk; }
    // File, line and message of the last parse failure ("" after a success).
    std::string LastParseError() const { return lastError; }
    // Why the last Save failed ("" after a success).
    std::string LastSaveError() const { return saveError; }

    // Takes over the content and file name of `other` (which is left empty), so that a
    // file checked in a scratch document is loaded without reading it again.
    void TakeContentFrom(CXmlDocument& other);
    // Lets go of the content kept for PutBack, once nothing can ask for it.
    void DropContentAside();

private:
    TiXmlDocument* Doc();
    void ReleaseAll();
    // True when the content is exactly its kept print (flushed, unchanged since printed).
    bool HoldsItsPrint();
    // Before the content is replaced: keeps it, in place of the one kept before, when it is
    // exactly its kept print (flushed, unchanged since printed); otherwise leaves it be.
    void SetContentAside();
    // Sets the content aside or lets it go, and takes `newDoc` with its counts in its place.
    void ReplaceContent(TiXmlDocument* newDoc, DocumentCounts* newCounts);
    bool ParseInto(std::string content, const std::string& source);
    // Writes typed values back into the texts, unless nothing changed since a flush.
    void FlushIfDue();

    std::string fileName;
    TiXmlDocument* doc = nullptr;
    bool lastParseOk = false;
    std::string lastError;
    std::string saveError;
    // Created and handed over with `doc`, whose user data it is.
    DocumentCounts* counts = nullptr;
    std::shared_ptr<const std::string> printed;
    unsigned long long printedAt = 0;
    // The content replaced last, with its counts and the print it holds.
    TiXmlDocument* asideDoc = nullptr;
    DocumentCounts* asideCounts = nullptr;
    std::shared_ptr<const std::string> asidePrint;
};
