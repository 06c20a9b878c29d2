#pragma once
// Starts the whole headless core (catalogue, array, venue, scene, engine) in a fresh
// working directory and tears it down in the program's own order afterwards.

#include "TestSupport.h"

#include "app/CAppStartup.h"
#include "base/CLine.h"
#include "base/CPoint.h"
#include "app/CCommandManager.h"
#include "app/CJuceManager.h"
#include "base/CReportError.h"
#include "array/CArrayLineWrap.h"
#include "array/CArrayManager.h"
#include "engine/CEngineManager.h"
#include "engine/CSPLManager.h"
#include "engine/CSplScaleSetting.h"
#include "render/CRenderManager.h"
#include "venue/CVenueManager.h"
#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

class EngineFixture : public ::testing::Test
{
public:
    static CArrayLineWrap Line() { return CArrayLineWrap(CArrayManager::GetInstance()->GetArray(1, CArrayManager::kFind)); }
    static CXmlNode* Venue() { return CVenueManager::GetInstance()->GetVenue(1); }

    // The SPL colour scale shown: bottom and top.
    static std::pair<double, double> Scale()
    {
        const CSPLManager* spl = CSPLManager::GetInstance();
        return { spl->GetScaleBottom(), spl->GetScaleTop() };
    }

    // The venue's quietest and loudest sample, rounded out to whole dB.
    static std::pair<double, double> VenueLevels()
    {
        CXmlNode* meta = Venue()->FindChild(Tag::RenderSpec)->FindChild(Tag::RenderItem)->FindChild(Tag::MetaMore);
        return { std::floor(meta->FindChild(Tag::SplMin)->GetDouble(0.0)),
                 std::ceil(meta->FindChild(Tag::SplMax)->GetDouble(0.0)) };
    }

protected:
    void SetUp() override
    {
        reported().clear();
        SetReportObserver([](const std::string& message) { reported().push_back(message); });
        StartCore(ReporterMode::Headless);
    }

    void TearDown() override
    {
        ShutdownEngineDocuments();
        ShutdownCore();
        CEngineManager::DestroyInstance();
        CJuceManager::DestroyInstance();
        CRenderManager::DestroyInstance();
        SetReportObserver(nullptr);
    }

    static std::vector<std::string>& reported()
    {
        static std::vector<std::string> messages;
        return messages;
    }

    static void Command(const std::string& target, double number, const std::string& text = "")
    {
        CCommandManager::GetInstance()->DoGeneral(target, text, number);
    }

    // The design's scale as if the user had moved it to bottom..top: it stays there. (A
    // design whose scale was never moved follows its levels.)
    static void MovedScale(double bottom = 110.0, double top = 120.0)
    {
        SplScaleSetting::SetAutomatic(false);
        CSPLManager::GetInstance()->SetScale(bottom, top);
        SplScaleSetting::StoreScale();
    }

    // Both documents as they would be written, compared the way they read back: an empty
    // element is the same whether it has an empty text or none, and numbers are compared to
    // twelve digits (sixteen-digit texts feed a recompute that may differ in the last one).
    static std::string Documents()
    {
        return Canonical(CArrayManager::GetInstance()->GetDocument()->ToText() + CVenueManager::GetInstance()->SaveState());
    }

    // One pass each, so that comparing whole documents stays quick (also under the sanitizers).
    static std::string Canonical(const std::string& text)
    {
        std::string numbers;
        numbers.reserve(text.size());
        for (size_t i = 0; i < text.size();)
        {
            const size_t open = text.find('>', i);
            if (open == std::string::npos)
            {
                numbers.append(text, i, std::string::npos);
                break;
            }
            numbers.append(text, i, open + 1 - i);
            const size_t close = text.find('<', open + 1);
            if (close == std::string::npos)
                break;
            const std::string value = text.substr(open + 1, close - open - 1);
            if (IsNumber(value))
            {
                char number[32];
                std::snprintf(number, sizeof(number), "%.12g", std::strtod(value.c_str(), nullptr));
                numbers += number;
            }
            else
                numbers += value;
            i = close;
        }

        // <Tag></Tag> reads back as <Tag />.
        std::string out;
        out.reserve(numbers.size());
        for (size_t i = 0; i < numbers.size();)
        {
            const size_t end = numbers.compare(i, 2, "</") == 0 ? numbers.find('>', i) : std::string::npos;
            if (end != std::string::npos && ! out.empty() && out.back() == '>')
            {
                const size_t start = out.rfind('<');
                const std::string name = numbers.substr(i + 2, end - i - 2);
                if (start != std::string::npos && out.compare(start + 1, out.size() - start - 2, name) == 0)
                {
                    out.resize(start);
                    out += "<" + name + " />";
                    i = end + 1;
                    continue;
                }
            }
            out += numbers[i++];
        }
        return out;
    }

    static bool IsNumber(const std::string& value)
    {
        return ! value.empty() && value.find_first_not_of("0123456789.-+e") == std::string::npos
               && value.find_first_of("0123456789") != std::string::npos;
    }

    ScopedTempDirectory temp;
};
