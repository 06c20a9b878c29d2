// Fuzz target: any text through CXmlDocument::ParseText, then every element read through
// the typed accessors as the engine reads them. A value that is not a number may only
// fail with the documented std::runtime_error; anything else is a fault. A well-formed
// document must also read back from its own serialization.

#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace
{
template <typename Read>
void Attempt(Read read)
{
    try
    {
        read();
    }
    catch (const std::runtime_error&)
    {
        // The conversion error a non-numeric text is documented to raise.
    }
}

void Touch(CXmlNode* node)
{
    Attempt([node] { node->GetInt(0); });
    Attempt([node] { node->GetDouble(0.0); });
    Attempt([node] { node->GetPoint(); });
    Attempt([node] { node->GetLine(); });
    node->GetString("");
}

// Depth is bounded by CXmlDocument::kMaxDepth, so recursion is safe here.
void Walk(CXmlNode* parent)
{
    for (CXmlNode* child = parent->FindChild(""); ! child->IsNull(); child = child->NextSibling(""))
    {
        Touch(child);
        Walk(child);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);

    CXmlDocument document;
    document.ParseText(text);
    const bool wellFormed = document.LastParseSucceeded();

    CXmlNode* root = document.GetRoot(Tag::Root);
    Touch(root);
    Walk(root);

    const std::string written = document.ToText();
    if (wellFormed)
    {
        CXmlDocument again;
        again.ParseText(written);
        if (! again.LastParseSucceeded())
        {
            std::fprintf(stderr, "serialization does not parse back: %s\n", again.LastParseError().c_str());
            std::abort();
        }
    }
    return 0;
}
