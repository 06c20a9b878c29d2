#pragma once
// A run directory with the product files written and fresh catalogue, array and venue
// managers for each test; arrays are built from small scripts listing models top down.

#include "TestSupport.h"

#include "base/CPoint.h"
#include "array/CArrayManager.h"
#include "product/CProductManager.h"
#include "venue/CVenueManager.h"
#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class ArrayTestFixture : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(CProductManager::GetInstance()->StartUp()); }

    void TearDown() override
    {
        CArrayManager::DestroyInstance();
        CVenueManager::DestroyInstance();
        CProductManager::DestroyInstance();
    }

    static CArrayManager* Arrays() { return CArrayManager::GetInstance(); }

    // Builds array 1 (geometry included) from the models, top first, picked at `pin`.
    static CArrayLineWrap Build(const std::vector<std::string>& models, int pin = 1)
    {
        CXmlDocument script;
        CXmlNode* array = script.GetRoot("Root")->AddChild(Tag::Array);
        array->GetChild(Tag::Slot)->SetInt(1);
        array->GetChild(Tag::HangPoint)->GetChild(Tag::Y)->SetDouble(20.0);
        bool top = true;
        for (const std::string& model : models)
        {
            CXmlNode* product = array->AddChild(Tag::Product);
            product->GetChild(Tag::Model)->SetString(model);
            product->GetChild(Tag::SlotSplay)->SetInt(1);
            if (top)
                product->GetChild(Tag::SlotPin)->SetInt(pin);
            top = false;
        }
        Arrays()->BuildFromScript(script);
        return Arrays()->GetLine(1, CArrayManager::kFind);
    }

    static std::vector<std::string> Repeat(std::vector<std::string> head, const std::string& model, int count)
    {
        head.insert(head.end(), (size_t) count, model);
        return head;
    }

    // The count change as the engine performs it, with the counts already within limits.
    static void SetCounts(CArrayLineWrap line, int subwoofers, int fullRange)
    {
        line.SetSubwooferCount(subwoofers);
        line.SetFullRangeCount(fullRange);
        line.PlaceModels([] { return Arrays()->NewProduct(""); });
        line.RecomputeAll();
    }

    static CXmlNode* Section(CArrayLineWrap line, int position, const std::string& section)
    {
        return line.GetCab(position).GetProduct().GetNode()->FindChild(section);
    }

    static CPoint PointOf(CXmlNode* node) { return *node->GetPoint(); }

    ScopedTempDirectory run;
};
