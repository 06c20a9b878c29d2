#pragma once
// One element of a document: typed value cache over the element's text, find-or-create
// children, forward links and cached geometry. A CXmlNode is owned by its element (it is
// deleted with it) and handed out as a non-owning pointer that is never null: missing
// elements are the shared null node, on which every operation is harmless.
// GUI message thread only.

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

class TiXmlElement;
class TiXmlText;
class CPoint;
class CLine;
struct DocumentCounts;

class CXmlNode
{
public:
    enum Position { kFirst = 2, kLast = 4, kAfterReference = 16 };
    enum ValueType { kNone = 0, kString = 1, kInt = 2, kDouble = 4 };
    static constexpr int kDeleteFlag = 8;

    virtual ~CXmlNode();

    //==========================================================================
    // Lookup and structure
    CXmlNode* FindChild(const std::string& tag, CXmlNode* after = nullptr);
    CXmlNode* NextSibling(const std::string& tag);
    CXmlNode* GetChild(const std::string& tag, CXmlNode* reference = nullptr, int position = kLast);
    CXmlNode* AddChild(const std::string& tag, int position = kLast);
    void RemoveChild(const std::string& tag, int flags = kDeleteFlag);
    void ClearChildren();
    std::string GetName() const;
    bool IsNull() const { return isNull; }
    CXmlNode* GetParent();

    //==========================================================================
    // Keyed search among children
    CXmlNode* FindChildByString(const std::string& tag, const std::string& key, const std::string& value);
    CXmlNode* FindChildByInt(const std::string& tag, const std::string& key, int value);
    CXmlNode* FindChildByDouble(const std::string& tag, const std::string& key, double value);
    CXmlNode* GetChildByString(const std::string& tag, const std::string& key, const std::string& value);
    CXmlNode* GetChildByInt(const std::string& tag, const std::string& key, int value);
    CXmlNode* GetChildByDouble(const std::string& tag, const std::string& key, double value);

    //==========================================================================
    // Values: a missing value is stored with its default when read.
    std::string GetString(const std::string& defaultValue);
    void SetString(const std::string& value);
    int GetInt(int defaultValue);
    void SetInt(int value);
    double GetDouble(double defaultValue);
    void SetDouble(double value);
    CPoint* GetPoint();
    CLine* GetLine();
    void StoreValue();
    void FlushValues();
    void NotifyChanged();

    bool HasValue() const { return hasValue; }
    int GetValueType() const { return valueType; }
    bool IsWatched() const { return watched; }
    void SetWatched(bool w) { if (! isNull) watched = w; }

    //==========================================================================
    // Links and copies
    void SetForward(CXmlNode* target);
    CXmlNode* GetLink() const { return link; }
    void SetLink(CXmlNode* target);
    CXmlNode* CopyFrom(CXmlNode* source);
    CXmlNode* AddCopyOf(CXmlNode* source);
    // A copy of `source` as a new last child without the first direct child of each name in
    // `leaveOut`: the copy the scene makes of every drawn item has no use for its hints.
    CXmlNode* AddCopyOf(CXmlNode* source, std::initializer_list<std::string_view> leaveOut);

    //==========================================================================
    // Whether writing the document must flush its values first: it need not while none of
    // its values, texts, elements or links has changed since a flush that found nothing to
    // write, and every cached point and line still holds what was written back into its own
    // children.
    static bool FlushIsDue(const DocumentCounts& counts);
    // Flushes the document's values from `root`; when the pass wrote nothing, the document
    // is known to agree with its values from here on.
    static void Flush(CXmlNode* root, DocumentCounts& counts);

    static CXmlNode* GetNullNode();
    static void DestroyNullNode();
    // Replaces spaces, hyphens, full stops and colons by underscores.
    static std::string MakeTagName(const std::string& name);

    // The node of an element, created on first use (as a loaded element: string value).
    static CXmlNode* NodeFor(TiXmlElement* element);
    // Deletes the nodes of `element` and of everything below it (before the element goes).
    static void ReleaseTree(TiXmlElement* element);
    TiXmlElement* GetElement() const { return element; }

private:
    CXmlNode(TiXmlElement* element, bool loaded);
    static CXmlNode* CreateFresh(TiXmlElement* element);

    TiXmlText* TextNode(bool create);
    std::string ReadText();
    void WriteText(const std::string& text);
    void WritePointBack();
    void WriteLineBack();
    CXmlNode* InsertChildElement(const std::string& tag, CXmlNode* reference, int position);
    // CopyFrom without the first direct child of each name in `leaveOut` (at most 32 names).
    CXmlNode* CopyLeavingOut(CXmlNode* source, std::initializer_list<std::string_view> leaveOut);
    // FindChild(XForward), remembered until the tree changes in a way that could change it.
    CXmlNode* ForwardChild();

    TiXmlElement* element = nullptr;
    bool watched = false;
    CPoint* pointCache = nullptr;
    CLine* lineCache = nullptr;
    bool hasValue = false;
    bool isNull = false;
    TiXmlText* textNode = nullptr;
    // ForwardChild's answer (null: none), while it is known.
    TiXmlElement* forwardElement = nullptr;
    bool forwardKnown = false;
    int valueType = kNone;
    double doubleValue = 0.0;
    int intValue = 0;
    // Whether the element's text already says what the typed value holds, so that writing
    // the document formats only the values that changed.
    bool textCurrent = true;
    // Whether an element below may need its value written into its text (see FlushValues).
    bool descendantsPending = false;
    CXmlNode* link = nullptr;

    void TextFallsBehind();
    void MarkAncestorsPending();
    bool NeedsStore() const;

    // The counts of the document the element is in; null outside any document. An element
    // stays in the document it was made in (a handed-over content takes its counts along).
    DocumentCounts* home = nullptr;
    // A change of the element's text or children counts in its document (see
    // CXmlDocument::Printed); one outside any document counts nowhere.
    void NoteChange();
    void NoteStructureChange();
    // The point's or line's value children as the write-back found them (X, Y, Angle, Dist;
    // or Point1's X and Y, Point2's X and Y, LAngle, LDist). Kept only when they are the
    // node's own children, which a lookup finds before any forward link, and valid while
    // their document has had no element added or removed since: the write-back then skips
    // the lookups that would find the same nodes again.
    struct ValueChildren
    {
        CXmlNode* nodes[6] = {};
        bool own = false;
        unsigned long long foundAt = 0;
        // The values the last write-back wrote.
        double written[6] = {};
        bool writtenKnown = false;
    };
    CXmlNode** Found(ValueChildren* children) const;
    CXmlNode** Remember(ValueChildren*& children, CXmlNode* const* nodes, int count, bool own);
    bool IsChildOf(const CXmlNode* parent) const;
    ValueChildren* pointChildren = nullptr;
    ValueChildren* lineChildren = nullptr;
    static bool StillWritten(const ValueChildren* children, const double* values, int count);

    // The document's list of cache holders this node is in (at `cachedAt`), if any.
    void ListCached();
    void UnlistCached();
    DocumentCounts* cachedIn = nullptr;
    size_t cachedAt = 0;

    void NoteValueChange();

    friend class CXmlDocument;
};
