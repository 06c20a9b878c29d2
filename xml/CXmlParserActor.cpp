#include "xml/CXmlParserActor.h"

#include "xml/CXmlNode.h"

CXmlParserActor::CXmlParserActor() : node(CXmlNode::GetNullNode()) {}

void CXmlParserActor::Act(CXmlNode* element)
{
    if (element != nullptr)
        node = element;
}
