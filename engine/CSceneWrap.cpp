#include "engine/CSceneWrap.h"

#include "base/CReportError.h"
#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <new>

namespace
{
constexpr int kRed = (int) 0xffff0000u;
constexpr int kGreen = (int) 0xff00aa33u;
constexpr int kEdgeRed = (int) 0xffdd5555u;
}

CSceneWrap::CSceneWrap()
    : scanHolder(new (std::nothrow) CXmlDocument()),
      triggerHolder(new (std::nothrow) CXmlDocument())
{
    if (scanHolder == nullptr)
        CReportError::GetInstance()->ReportFatalError("Error: Could not allocate memory for Scan Nodes in SceneWrap");
    if (triggerHolder == nullptr)
        CReportError::GetInstance()->ReportFatalError("Error: Could not allocate memory for Trigger Nodes in SceneWrap");
    // The lists stand alone: each is the root of a private document nobody saves.
    scanList = scanHolder->GetRoot(Tag::Scan);
    triggerList = triggerHolder->GetRoot(Tag::Trigger);
}

CSceneWrap::~CSceneWrap() = default;

void CSceneWrap::ClearLists()
{
    scanList->ClearChildren();
    triggerList->ClearChildren();
}

void CSceneWrap::AddTrigger(const std::string& tag)
{
    triggerList->GetChild(tag);
}

void CSceneWrap::AddScanRoot(CXmlNode* root)
{
    CXmlNode* pointer = scanList->AddChild(Tag::Pointer);
    pointer->NotifyChanged();
    pointer->SetLink(root);
}

void CSceneWrap::BuildScene()
{
    const int slot = node->GetChild(Tag::Slot)->GetInt(1);
    node->ClearChildren();
    node->GetChild(Tag::Slot)->SetInt(slot);

    for (CXmlNode* p = scanList->FindChild(""); ! p->IsNull(); p = p->NextSibling(""))
        ScanNode(p->GetLink() != nullptr ? p->GetLink() : CXmlNode::GetNullNode(), "");
}

void CSceneWrap::ScanNode(CXmlNode* n, std::string key)
{
    if (n->IsNull())
        return;
    key += "_" + n->GetName();
    if (n->FindChild(Tag::FlagInUse)->GetString(Tag::True) == Tag::False)
        return;
    CXmlNode* slot = n->FindChild(Tag::Slot);
    if (! slot->IsNull())
        key += slot->GetString("");

    if (triggerList->FindChild(n->GetName())->IsNull())
    {
        for (CXmlNode* c = n->FindChild(""); ! c->IsNull(); c = c->NextSibling(""))
            ScanNode(c, key);
        CXmlNode* pointer = n->FindChild(Tag::Pointer);
        if (! pointer->IsNull() && pointer->GetLink() != nullptr)
            ScanNode(pointer->GetLink(), key);
    }
    else
    {
        CopyItems(n, key);
    }
}

void CSceneWrap::CopyItems(CXmlNode* trigger, const std::string& key)
{
    for (CXmlNode* e = trigger->FindChild(""); ! e->IsNull(); e = e->NextSibling(""))
    {
        CXmlNode* render = e->FindChild(Tag::Render);
        if (render->IsNull())
            continue;
        const int slot = render->FindChild(Tag::Slot)->GetInt(1);
        const std::string kind = render->GetString("");
        // A render hint without a kind (the hang point's start) is drawn by no renderer;
        // an element with an empty name could not be saved either.
        if (kind.empty())
            continue;

        CXmlNode* item = node->GetChild(key)->GetChildByInt(kind, Tag::Slot, slot);
        const std::string target = render->FindChild(Tag::Target)->GetString(Tag::PointList);
        item->GetChild(target)->AddCopyOf(e, { Tag::Render, Tag::Meta, Tag::MetaMore });

        CXmlNode* metaMore = e->FindChild(Tag::MetaMore);
        if (! metaMore->IsNull())
            item->GetChild(Tag::TagList)->CopyFrom(metaMore);
        CXmlNode* meta = e->FindChild(Tag::Meta);
        item->GetChild(Tag::TagList)->AddCopyOf(meta);
        ApplyStyles(meta, item->GetChild(Tag::TagList));
    }
}

void CSceneWrap::ApplyStyles(CXmlNode* meta, CXmlNode* tagList)
{
    if (meta->IsNull())
        return;
    auto has = [meta](const std::string& tag) { return ! meta->FindChild(tag)->IsNull(); };

    if (has(Tag::ArrayCG) || has(Tag::HangCG))
    {
        tagList->GetChild(Tag::Radius)->SetDouble(1.5);
        tagList->GetChild(Tag::ColorFill)->SetInt(kRed);
    }
    if (has(Tag::Thick) || has(Tag::ControlPoint))
    {
        tagList->GetChild(Tag::LineWidth)->SetDouble(6.0);
        tagList->GetChild(Tag::ColorFill)->SetInt(kRed);
        tagList->GetChild(Tag::ColorLine)->SetInt(kGreen);
    }
    if (has(Tag::SplGradient))
        tagList->GetChild(Tag::SplGradient);
    if (has(Tag::UEdge))
    {
        tagList->GetChild(Tag::LineWidth)->SetDouble(2.0);
        tagList->GetChild(Tag::ColorFill)->SetInt(kRed);
        tagList->GetChild(Tag::ColorLine)->SetInt(kEdgeRed);
    }
}
