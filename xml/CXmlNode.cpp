#include "xml/CXmlNode.h"

#include "base/CLine.h"
#include "base/CPoint.h"
#include "base/CReportError.h"
#include "xml/CXmlChangeObserver.h"
#include "xml/DocumentCounts.h"
#include "xml/XmlTags.h"

#include <tinyxml.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <sstream>
#include <stdexcept>

namespace
{
CXmlNode* nullNode = nullptr;

// Forward links must not form a cycle; this bound turns a mistaken cycle into "not found"
// instead of a stack overflow.
int forwardDepth = 0;
constexpr int kMaxForwardDepth = 64;

struct ForwardGuard
{
    ForwardGuard() { ++forwardDepth; }
    ~ForwardGuard() { --forwardDepth; }
    bool TooDeep() const { return forwardDepth > kMaxForwardDepth; }
};

bool NameMatches(const TiXmlElement* e, const std::string& tag)
{
    return tag.empty() || e->ValueStr() == tag;
}

std::string LowerPrefix(const std::string& text, size_t from, size_t count)
{
    std::string out;
    for (size_t i = from; i < text.size() && out.size() < count; ++i)
        out += (char) std::tolower((unsigned char) text[i]);
    return out;
}

// A number is read whole: "7.9" or "0x7fffffff" is not a count, "12abc" not a length. The
// non-finite texts the writer produces ("inf", "-inf", "nan") are read back as such.
std::string Trimmed(const std::string& text)
{
    size_t from = 0;
    size_t to = text.size();
    while (from < to && std::isspace((unsigned char) text[from]))
        ++from;
    while (to > from && std::isspace((unsigned char) text[to - 1]))
        --to;
    return text.substr(from, to - from);
}

bool ParseDouble(const std::string& text, double& out)
{
    const std::string number = Trimmed(text);
    size_t j = 0;
    bool negative = false;
    if (j < number.size() && (number[j] == '-' || number[j] == '+'))
        negative = number[j++] == '-';
    const std::string word = LowerPrefix(number, j, 9);
    if (word == "inf" || word == "infinity")
    {
        out = negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
        return true;
    }
    if (word == "nan")
    {
        out = std::numeric_limits<double>::quiet_NaN();
        return true;
    }
    std::istringstream stream(number);
    double value = 0.0;
    if (number.empty() || ! (stream >> value) || stream.peek() != std::char_traits<char>::eof())
        return false;
    out = value;
    return true;
}

bool ParseInt(const std::string& text, int& out)
{
    const std::string number = Trimmed(text);
    size_t j = number.empty() || (number[0] != '-' && number[0] != '+') ? 0 : 1;
    if (j == number.size())
        return false;
    for (size_t i = j; i < number.size(); ++i)
        if (! std::isdigit((unsigned char) number[i]))
            return false;
    std::istringstream stream(number);
    int value = 0;
    if (! (stream >> value))
        return false;
    out = value;
    return true;
}

// As a stream of precision 16 writes it (printf's "%.16g"), without building a stream for
// each of the many thousand values a document holds.
std::string FormatDouble(double value)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    char text[32];
    const std::to_chars_result written = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 16);
    if (written.ec != std::errc())
        throw std::runtime_error("Could not convert double to string ");
    return std::string(text, written.ptr);
}

std::string FormatInt(int value)
{
    char text[16];
    const std::to_chars_result written = std::to_chars(text, text + sizeof text, value);
    if (written.ec != std::errc())
        throw std::runtime_error("Could not convert Int to string");
    return std::string(text, written.ptr);
}
}

//==============================================================================
CXmlNode::CXmlNode(TiXmlElement* e, bool loaded) : element(e)
{
    if (loaded)
    {
        hasValue = true;
        valueType = kString;
    }
    element->SetUserData(this);
    if (TiXmlDocument* document = element->GetDocument())
        home = static_cast<DocumentCounts*>(document->GetUserData());
}

CXmlNode::~CXmlNode()
{
    UnlistCached();
    delete pointCache;
    delete lineCache;
    delete pointChildren;
    delete lineChildren;
}

void CXmlNode::NoteValueChange()
{
    if (home != nullptr)
        ++home->values;
}

void CXmlNode::NoteChange()
{
    NoteValueChange();
    if (home != nullptr)
        ++home->changes;
}

void CXmlNode::NoteStructureChange()
{
    if (home != nullptr)
        ++home->structure;
}

CXmlNode* CXmlNode::NodeFor(TiXmlElement* e)
{
    if (e == nullptr)
        return GetNullNode();
    if (auto* existing = static_cast<CXmlNode*>(e->GetUserData()))
        return existing;
    return new CXmlNode(e, true);
}

CXmlNode* CXmlNode::CreateFresh(TiXmlElement* e)
{
    return new CXmlNode(e, false);
}

void CXmlNode::ReleaseTree(TiXmlElement* e)
{
    if (e == nullptr)
        return;
    for (TiXmlElement* c = e->FirstChildElement(); c != nullptr; c = c->NextSiblingElement())
        ReleaseTree(c);
    auto* node = static_cast<CXmlNode*>(e->GetUserData());
    // A bound control must not keep a pointer to an element that is going.
    if (node != nullptr && node->watched)
        if (CXmlChangeObserver* observer = CXmlChangeObserver::Get())
            observer->NodeReleased(node);
    delete node;
    e->SetUserData(nullptr);
}

CXmlNode* CXmlNode::GetNullNode()
{
    if (nullNode == nullptr)
    {
        auto* e = new TiXmlElement(MakeTagName(Tag::NULL_Node));
        nullNode = new CXmlNode(e, false);
        nullNode->isNull = true;
    }
    return nullNode;
}

void CXmlNode::DestroyNullNode()
{
    if (nullNode == nullptr)
        return;
    TiXmlElement* e = nullNode->element;
    delete nullNode;
    delete e;
    nullNode = nullptr;
}

std::string CXmlNode::MakeTagName(const std::string& name)
{
    std::string out = name;
    for (char& c : out)
        if (c == ' ' || c == '-' || c == '.' || c == ':')
            c = '_';
    return out;
}

//==============================================================================
CXmlNode* CXmlNode::FindChild(const std::string& tag, CXmlNode* after)
{
    if (isNull)
        return this;

    if (after != nullptr && ! after->isNull)
    {
        for (TiXmlElement* e = after->element->NextSiblingElement(); e != nullptr; e = e->NextSiblingElement())
            if (NameMatches(e, tag))
                return NodeFor(e);
        return GetNullNode();
    }

    for (TiXmlElement* e = element->FirstChildElement(); e != nullptr; e = e->NextSiblingElement())
        if (NameMatches(e, tag))
            return NodeFor(e);

    if (tag == Tag::XForward || tag == Tag::XXForward)
        return GetNullNode();

    ForwardGuard guard;
    if (guard.TooDeep())
        return GetNullNode();

    CXmlNode* forward = ForwardChild();
    if (! forward->isNull && forward->link != nullptr)
    {
        CXmlNode* found = forward->link->FindChild(tag);
        if (! found->isNull)
            return found;
    }

    CXmlNode* parent = GetParent();
    CXmlNode* parentForward = parent->isNull ? parent : parent->ForwardChild();
    if (! parentForward->isNull && parentForward->link != nullptr)
    {
        CXmlNode* twin = parentForward->link->FindChild(GetName());
        if (! twin->isNull)
            return twin->FindChild(tag);
    }

    return GetNullNode();
}

CXmlNode* CXmlNode::ForwardChild()
{
    if (isNull)
        return this;
    // A missing child is looked up through the forward links, which asks the parent for its
    // XForward child: remembered, that is no longer a walk over all the siblings (a list of
    // thousands of samples made every lookup of a missing value slow). Only this node's own
    // inserts and removals can change the answer, and they forget it.
    if (! forwardKnown)
    {
        forwardElement = nullptr;
        for (TiXmlElement* e = element->FirstChildElement(); e != nullptr && forwardElement == nullptr;
             e = e->NextSiblingElement())
            if (NameMatches(e, Tag::XForward))
                forwardElement = e;
        forwardKnown = true;
    }
    return forwardElement != nullptr ? NodeFor(forwardElement) : GetNullNode();
}

CXmlNode* CXmlNode::NextSibling(const std::string& tag)
{
    if (isNull)
        return this;
    for (TiXmlElement* e = element->NextSiblingElement(); e != nullptr; e = e->NextSiblingElement())
        if (NameMatches(e, tag))
            return NodeFor(e);
    return GetNullNode();
}

CXmlNode* CXmlNode::GetParent()
{
    if (isNull)
        return this;
    TiXmlNode* parent = element->Parent();
    TiXmlElement* parentElement = parent != nullptr ? parent->ToElement() : nullptr;
    return parentElement != nullptr ? NodeFor(parentElement) : GetNullNode();
}

CXmlNode* CXmlNode::InsertChildElement(const std::string& tag, CXmlNode* reference, int position)
{
    // TinyXML's positional inserts add a copy of the (still empty) element given.
    const TiXmlElement fresh(MakeTagName(tag));
    if (fresh.ValueStr() == Tag::XForward)
        forwardKnown = false;
    NoteChange();
    NoteStructureChange();
    TiXmlNode* inserted = nullptr;
    if (reference != nullptr && ! reference->isNull && reference->element->Parent() == element)
        inserted = position == kAfterReference ? element->InsertAfterChild(reference->element, fresh)
                                               : element->InsertBeforeChild(reference->element, fresh);
    else if (position == kFirst && element->FirstChild() != nullptr)
        inserted = element->InsertBeforeChild(element->FirstChild(), fresh);
    else
        inserted = element->InsertEndChild(fresh);
    return CreateFresh(inserted->ToElement());
}

CXmlNode* CXmlNode::GetChild(const std::string& tag, CXmlNode* reference, int position)
{
    if (isNull)
        return this;
    CXmlNode* found = FindChild(tag, reference);
    if (! found->isNull)
        return found;
    return InsertChildElement(tag, reference, position);
}

CXmlNode* CXmlNode::AddChild(const std::string& tag, int position)
{
    if (isNull)
        return this;
    return InsertChildElement(tag, nullptr, position);
}

void CXmlNode::RemoveChild(const std::string& tag, int)
{
    if (isNull)
        return;
    // Unlinked elements are always deleted: nothing may keep a handle on them.
    CXmlNode* child = FindChild(tag);
    if (child->isNull || child->element->Parent() != element)
        return;
    TiXmlElement* e = child->element;
    NoteChange();
    NoteStructureChange();
    ReleaseTree(e);
    element->RemoveChild(e);
    forwardKnown = false;
}

void CXmlNode::ClearChildren()
{
    if (isNull)
        return;
    NoteChange();
    NoteStructureChange();
    UnlistCached();
    delete pointCache;
    pointCache = nullptr;
    delete lineCache;
    lineCache = nullptr;
    textNode = nullptr;
    for (TiXmlElement* c = element->FirstChildElement(); c != nullptr; c = c->NextSiblingElement())
        ReleaseTree(c);
    element->Clear();
    forwardKnown = false;
}

std::string CXmlNode::GetName() const
{
    return isNull ? std::string("NULL") : element->ValueStr();
}

//==============================================================================
CXmlNode* CXmlNode::FindChildByString(const std::string& tag, const std::string& key, const std::string& value)
{
    for (CXmlNode* c = FindChild(tag); ! c->isNull; c = FindChild(tag, c))
        if (c->FindChild(key)->GetString("") == value)
            return c;
    return GetNullNode();
}

CXmlNode* CXmlNode::FindChildByInt(const std::string& tag, const std::string& key, int value)
{
    for (CXmlNode* c = FindChild(tag); ! c->isNull; c = FindChild(tag, c))
        if (c->FindChild(key)->GetInt(0) == value)
            return c;
    return GetNullNode();
}

CXmlNode* CXmlNode::FindChildByDouble(const std::string& tag, const std::string& key, double value)
{
    for (CXmlNode* c = FindChild(tag); ! c->isNull; c = FindChild(tag, c))
        if (c->FindChild(key)->GetDouble(0.0) == value)
            return c;
    return GetNullNode();
}

CXmlNode* CXmlNode::GetChildByString(const std::string& tag, const std::string& key, const std::string& value)
{
    CXmlNode* found = FindChildByString(tag, key, value);
    if (! found->isNull || isNull)
        return found;
    CXmlNode* added = AddChild(tag, kLast);
    added->GetChild(key)->SetString(value);
    return added;
}

CXmlNode* CXmlNode::GetChildByInt(const std::string& tag, const std::string& key, int value)
{
    CXmlNode* found = FindChildByInt(tag, key, value);
    if (! found->isNull || isNull)
        return found;
    CXmlNode* added = AddChild(tag, kLast);
    added->GetChild(key)->SetInt(value);
    return added;
}

CXmlNode* CXmlNode::GetChildByDouble(const std::string& tag, const std::string& key, double value)
{
    CXmlNode* found = FindChildByDouble(tag, key, value);
    if (! found->isNull || isNull)
        return found;
    CXmlNode* added = AddChild(tag, kLast);
    added->GetChild(key)->SetDouble(value);
    return added;
}

//==============================================================================
TiXmlText* CXmlNode::TextNode(bool create)
{
    if (textNode != nullptr)
        return textNode;
    for (TiXmlNode* n = element->FirstChild(); n != nullptr; n = n->NextSibling())
        if (TiXmlText* text = n->ToText())
            return textNode = text;
    if (! create)
        return nullptr;
    if (element->FirstChild() != nullptr)
        textNode = element->InsertBeforeChild(element->FirstChild(), TiXmlText(""))->ToText();
    else
        textNode = element->LinkEndChild(new TiXmlText(""))->ToText();
    return textNode;
}

// An empty value is kept as no text at all, the way a parsed "<Tag></Tag>" comes back:
// reading never changes how the document prints, and printed text parses back to the
// same document.
std::string CXmlNode::ReadText()
{
    const TiXmlText* text = TextNode(false);
    return text != nullptr ? text->ValueStr() : std::string();
}

void CXmlNode::WriteText(const std::string& text)
{
    NoteChange();
    if (! text.empty())
    {
        TextNode(true)->SetValue(text);
    }
    else if (TiXmlText* node = TextNode(false))
    {
        element->RemoveChild(node);
        textNode = nullptr;
    }
}

std::string CXmlNode::GetString(const std::string& defaultValue)
{
    if (isNull)
        return defaultValue;
    if (hasValue)
        return ReadText();
    SetString(defaultValue);
    return defaultValue;
}

void CXmlNode::SetString(const std::string& value)
{
    if (isNull)
        return;
    hasValue = true;
    valueType = kString;
    WriteText(value);
    NotifyChanged();
}

int CXmlNode::GetInt(int defaultValue)
{
    if (isNull)
        return defaultValue;
    if (hasValue && valueType == kInt)
        return intValue;
    if (hasValue)
    {
        StoreValue();
        valueType = kInt;
        int value = 0;
        if (! ParseInt(ReadText(), value))
            throw std::runtime_error("Could not convert string to int");
        intValue = value;
        TextFallsBehind(); // written back as formatted, as it always was
        return intValue;
    }
    hasValue = true;
    valueType = kInt;
    intValue = defaultValue;
    TextFallsBehind();
    NotifyChanged();
    return defaultValue;
}

void CXmlNode::SetInt(int value)
{
    if (isNull)
        return;
    if (! (hasValue && valueType == kInt && intValue == value))
        TextFallsBehind();
    intValue = value;
    hasValue = true;
    valueType = kInt;
    NotifyChanged();
}

double CXmlNode::GetDouble(double defaultValue)
{
    if (isNull)
        return defaultValue;
    if (hasValue && valueType == kDouble)
        return doubleValue;
    if (hasValue)
    {
        StoreValue();
        valueType = kDouble;
        double value = 0.0;
        if (! ParseDouble(ReadText(), value))
            throw std::runtime_error("Could not convert string to double");
        doubleValue = value;
        TextFallsBehind();
        return doubleValue;
    }
    hasValue = true;
    valueType = kDouble;
    doubleValue = defaultValue;
    TextFallsBehind();
    NotifyChanged();
    return defaultValue;
}

void CXmlNode::SetDouble(double value)
{
    if (isNull)
        return;
    // A recompute sets most values to what they were: the text stays as it is then.
    if (! (hasValue && valueType == kDouble && std::memcmp(&doubleValue, &value, sizeof value) == 0))
        TextFallsBehind();
    doubleValue = value;
    hasValue = true;
    valueType = kDouble;
    NotifyChanged();
}

CPoint* CXmlNode::GetPoint()
{
    if (isNull)
    {
        // Writes to the null node's point go nowhere.
        static CPoint scratch;
        scratch = CPoint();
        return &scratch;
    }
    if (pointCache != nullptr)
        return pointCache;
    pointCache = new (std::nothrow) CPoint();
    if (pointCache == nullptr)
        CReportError::GetInstance()->ReportFatalError("Error: Not enough memory to allocate CPoint in CXmlNode");
    MarkAncestorsPending();
    ListCached();
    pointCache->x = FindChild(Tag::X)->GetDouble(0.0);
    pointCache->y = FindChild(Tag::Y)->GetDouble(0.0);
    pointCache->angle = FindChild(Tag::Angle)->GetDouble(0.0);
    pointCache->distance = FindChild(Tag::Dist)->GetDouble(0.0);
    hasValue = true;
    return pointCache;
}

CLine* CXmlNode::GetLine()
{
    if (isNull)
    {
        static CLine scratch;
        scratch = CLine();
        return &scratch;
    }
    if (lineCache != nullptr)
        return lineCache;
    lineCache = new (std::nothrow) CLine();
    if (lineCache == nullptr)
        CReportError::GetInstance()->ReportFatalError("Error: Not enough memory to allocate CPoint in CXmlNode");
    MarkAncestorsPending();
    ListCached();
    CXmlNode* p1 = FindChild(Tag::Point1);
    CXmlNode* p2 = FindChild(Tag::Point2);
    lineCache->x1 = p1->FindChild(Tag::X)->GetDouble(0.0);
    lineCache->y1 = p1->FindChild(Tag::Y)->GetDouble(0.0);
    lineCache->x2 = p2->FindChild(Tag::X)->GetDouble(0.0);
    lineCache->y2 = p2->FindChild(Tag::Y)->GetDouble(0.0);
    lineCache->angle = FindChild(Tag::LAngle)->GetDouble(0.0);
    lineCache->length = FindChild(Tag::LDist)->GetDouble(0.0);
    hasValue = true;
    return lineCache;
}

CXmlNode** CXmlNode::Found(ValueChildren* children) const
{
    if (children == nullptr || ! children->own || children->foundAt != home->structure)
        return nullptr;
    return children->nodes;
}

CXmlNode** CXmlNode::Remember(ValueChildren*& children, CXmlNode* const* nodes, int count, bool own)
{
    if (children == nullptr)
        children = new ValueChildren();
    std::copy(nodes, nodes + count, children->nodes);
    children->own = own && home != nullptr;
    if (children->own)
        children->foundAt = home->structure;
    return children->nodes;
}

bool CXmlNode::IsChildOf(const CXmlNode* parent) const
{
    return element->Parent() == parent->element;
}

// Every flush writes a cached point or line back (its owner may have changed it through the
// pointer). The lookups of its value children are what cost; while the document keeps its
// elements, they find the children found the last time.
void CXmlNode::WritePointBack()
{
    CXmlNode* const* found = Found(pointChildren);
    if (found == nullptr)
    {
        CXmlNode* const nodes[4] = { GetChild(Tag::X), GetChild(Tag::Y), GetChild(Tag::Angle), GetChild(Tag::Dist) };
        const bool own = std::all_of(nodes, nodes + 4, [this](const CXmlNode* n) { return n->IsChildOf(this); });
        found = Remember(pointChildren, nodes, 4, own);
    }
    const double values[4] = { pointCache->x, pointCache->y, pointCache->angle, pointCache->distance };
    for (int i = 0; i < 4; ++i)
        found[i]->SetDouble(values[i]);
    std::copy(values, values + 4, pointChildren->written);
    pointChildren->writtenKnown = true;
}

void CXmlNode::WriteLineBack()
{
    CXmlNode* const* found = Found(lineChildren);
    if (found == nullptr)
    {
        CXmlNode* p1 = GetChild(Tag::Point1);
        CXmlNode* p1x = p1->GetChild(Tag::X);
        CXmlNode* p1y = p1->GetChild(Tag::Y);
        CXmlNode* p2 = GetChild(Tag::Point2);
        CXmlNode* p2x = p2->GetChild(Tag::X);
        CXmlNode* p2y = p2->GetChild(Tag::Y);
        CXmlNode* const nodes[6] = { p1x, p1y, p2x, p2y, GetChild(Tag::LAngle), GetChild(Tag::LDist) };
        const bool own = p1->IsChildOf(this) && p2->IsChildOf(this) && p1x->IsChildOf(p1) && p1y->IsChildOf(p1)
                         && p2x->IsChildOf(p2) && p2y->IsChildOf(p2) && nodes[4]->IsChildOf(this)
                         && nodes[5]->IsChildOf(this);
        found = Remember(lineChildren, nodes, 6, own);
    }
    const double values[6] = { lineCache->x1, lineCache->y1, lineCache->x2, lineCache->y2, lineCache->angle,
                               lineCache->length };
    for (int i = 0; i < 6; ++i)
        found[i]->SetDouble(values[i]);
    std::copy(values, values + 6, lineChildren->written);
    lineChildren->writtenKnown = true;
}

bool CXmlNode::StillWritten(const ValueChildren* children, const double* values, int count)
{
    // Compared bit for bit, as the write-back compares: a NaN written is a NaN still. A
    // write-back through a forward link reaches another element, which may have changed.
    return children != nullptr && children->writtenKnown && children->own
           && std::memcmp(children->written, values, sizeof(double) * (size_t) count) == 0;
}

bool CXmlNode::FlushIsDue(const DocumentCounts& counts)
{
    if (! counts.flushedKnown || counts.flushedAt != counts.values)
        return true;
    for (const CXmlNode* node : counts.cached)
    {
        if (const CPoint* p = node->pointCache)
        {
            const double values[4] = { p->x, p->y, p->angle, p->distance };
            if (! StillWritten(node->pointChildren, values, 4))
                return true;
        }
        if (const CLine* l = node->lineCache)
        {
            const double values[6] = { l->x1, l->y1, l->x2, l->y2, l->angle, l->length };
            if (! StillWritten(node->lineChildren, values, 6))
                return true;
        }
    }
    return false;
}

void CXmlNode::Flush(CXmlNode* root, DocumentCounts& counts)
{
    // A pass that writes may mark again an element it already passed (through a forward
    // link): only a pass that changes nothing shows the document in agreement.
    const unsigned long long before = counts.values;
    root->FlushValues();
    counts.flushedKnown = counts.values == before;
    counts.flushedAt = counts.values;
}

void CXmlNode::ListCached()
{
    if (cachedIn != nullptr)
        return;
    cachedIn = home;
    if (cachedIn == nullptr)
        return;
    cachedAt = cachedIn->cached.size();
    cachedIn->cached.push_back(this);
}

void CXmlNode::UnlistCached()
{
    if (cachedIn == nullptr)
        return;
    std::vector<CXmlNode*>& list = cachedIn->cached;
    CXmlNode* last = list.back();
    list[cachedAt] = last;
    last->cachedAt = cachedAt;
    list.pop_back();
    cachedIn = nullptr;
}

void CXmlNode::StoreValue()
{
    if (isNull)
        return;
    if (pointCache != nullptr)
        WritePointBack();
    if (lineCache != nullptr)
        WriteLineBack();
    if (textCurrent)
        return;
    if (valueType == kInt)
        WriteText(FormatInt(intValue));
    else if (valueType == kDouble)
        WriteText(FormatDouble(doubleValue));
    textCurrent = true;
}

void CXmlNode::TextFallsBehind()
{
    textCurrent = false;
    MarkAncestorsPending();
}

void CXmlNode::MarkAncestorsPending()
{
    NoteValueChange();
    // Up to the first ancestor that knows already; the marks are cleared by the flush.
    for (TiXmlNode* p = element->Parent(); p != nullptr; p = p->Parent())
    {
        TiXmlElement* e = p->ToElement();
        if (e == nullptr)
            return;
        CXmlNode* node = NodeFor(e);
        if (node->descendantsPending)
            return;
        node->descendantsPending = true;
    }
}

bool CXmlNode::NeedsStore() const
{
    return hasValue && (pointCache != nullptr || lineCache != nullptr || ! textCurrent);
}

// Visits, in document order as ever, only the elements whose typed value, point or line may
// differ from their text, and the ancestors that lead to them; an element without a node
// has nothing cached. A cached point or line stays pending: its owner may change it through
// the pointer at any time.
void CXmlNode::FlushValues()
{
    if (isNull)
        return;
    if (NeedsStore())
        StoreValue();
    if (! descendantsPending)
        return;
    // Cleared first: a write-back that reaches an element already passed (through a forward
    // link) marks this node again, and that mark must stay.
    descendantsPending = false;
    for (TiXmlElement* c = element->FirstChildElement(); c != nullptr; c = c->NextSiblingElement())
    {
        auto* child = static_cast<CXmlNode*>(c->GetUserData());
        if (child == nullptr)
            continue;
        if (child->descendantsPending || child->NeedsStore())
            child->FlushValues();
        if (child->descendantsPending || child->pointCache != nullptr || child->lineCache != nullptr)
            descendantsPending = true;
    }
}

void CXmlNode::NotifyChanged()
{
    if (watched && ! isNull)
        if (CXmlChangeObserver* observer = CXmlChangeObserver::Get())
            observer->NodeChanged(this);
}

//==============================================================================
void CXmlNode::SetForward(CXmlNode* target)
{
    if (isNull)
        return;
    CXmlNode* forward = GetChild(Tag::XForward);
    forward->NotifyChanged();
    forward->link = target;
    NoteValueChange();
}

void CXmlNode::SetLink(CXmlNode* target)
{
    if (isNull)
        return;
    link = target;
    NoteValueChange();
}

CXmlNode* CXmlNode::CopyFrom(CXmlNode* source)
{
    return CopyLeavingOut(source, {});
}

CXmlNode* CXmlNode::CopyLeavingOut(CXmlNode* source, std::initializer_list<std::string_view> leaveOut)
{
    if (isNull || source == nullptr || source->isNull || source == this)
        return this;

    hasValue = source->hasValue;
    if (source->hasValue)
    {
        valueType = source->valueType;
        doubleValue = source->doubleValue;
        intValue = source->intValue;
        textCurrent = source->textCurrent;
        if (! textCurrent)
            MarkAncestorsPending();
        link = source->link;
        NoteValueChange();
    }

    if (TiXmlText* text = source->TextNode(false))
        WriteText(text->ValueStr());

    // A fresh copy takes the children as they come. Looking each up first would search the
    // forward links through every sibling of this node for a child that is not there yet,
    // which made copying a list of many samples quadratic; the caches below then read
    // the copied children.
    const bool fresh = element->FirstChildElement() == nullptr;
    CXmlNode* previous = nullptr;
    unsigned leftOut = 0;
    const auto leaveOutNow = [&leaveOut, &leftOut](CXmlNode* s) {
        unsigned bit = 1;
        for (std::string_view name : leaveOut)
        {
            if ((leftOut & bit) == 0 && s->element->ValueStr() == name)
            {
                leftOut |= bit;
                return true;
            }
            bit <<= 1;
        }
        return false;
    };
    for (CXmlNode* s = source->FindChild(""); ! s->isNull; s = s->NextSibling(""))
    {
        if (leaveOut.size() != 0 && leaveOutNow(s))
            continue;
        CXmlNode* c = fresh ? AddChild(s->GetName(), kLast) : GetChild(s->GetName(), previous, kAfterReference);
        c->CopyFrom(s);
        previous = c;
    }

    if (source->pointCache != nullptr)
    {
        CPoint* p = GetPoint();
        p->x = source->pointCache->x;
        p->y = source->pointCache->y;
        p->angle = source->pointCache->angle;
        p->distance = source->pointCache->distance;
    }
    if (source->lineCache != nullptr)
    {
        CLine* l = GetLine();
        *l = *source->lineCache;
    }
    return this;
}

CXmlNode* CXmlNode::AddCopyOf(CXmlNode* source)
{
    if (isNull || source == nullptr || source->isNull)
        return GetNullNode();
    return AddChild(source->GetName(), kLast)->CopyFrom(source);
}

CXmlNode* CXmlNode::AddCopyOf(CXmlNode* source, std::initializer_list<std::string_view> leaveOut)
{
    if (isNull || source == nullptr || source->isNull)
        return GetNullNode();
    return AddChild(source->GetName(), kLast)->CopyLeavingOut(source, leaveOut);
}
