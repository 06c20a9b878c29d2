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
#include "render/CRenderManager.h"
#include "venue/CVenueManager.h"
#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

class EngineFixture : public ::testing::Test
{
public:
    static CArrayLineWrap Line() { return CArrayLineWrap(CArrayManager::GetInstance()->GetArray(1, CArrayManager::kFind)); }
    static CXmlNode* Venue() { return CVenueManager::GetInstance()->GetVenue(1); }

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

    // Both documents as they would be written, compared the way they read back: an empty
    // element is the same whether it has an empty text or none, and numbers are compared to
    // twelve digits (sixteen-digit texts feed a recompute that may differ in the last one).
    static std::string Documents()
    {
        return Canonical(CArrayManager::GetInstance()->GetDocument()->ToText() + CVenueManager::GetInstance()->SaveState());
    }

    static std::string Canonical(const std::string& text)
    {
        juce::String out;
        juce::String in(text);
        int i = 0;
        while (i < in.length())
        {
            const int open = in.indexOfChar(i, '>');
            if (open < 0)
            {
                out += in.substring(i);
                break;
            }
            out += in.substring(i, open + 1);
            const int close = in.indexOfChar(open + 1, '<');
            const juce::String value = close < 0 ? juce::String() : in.substring(open + 1, close);
            if (close >= 0 && value.containsOnly("0123456789.-+e") && value.containsAnyOf("0123456789"))
            {
                char number[32];
                std::snprintf(number, sizeof(number), "%.12g", value.getDoubleValue());
                out += number;
            }
            else if (close >= 0)
                out += value;
            i = close < 0 ? in.length() : close;
        }
        std::string s = out.toStdString();
        // <Tag></Tag> reads back as <Tag />.
        for (size_t at = s.find("></"); at != std::string::npos; at = s.find("></", at + 1))
        {
            const size_t start = s.rfind('<', at);
            const size_t end = s.find('>', at + 3);
            if (start != std::string::npos && end != std::string::npos && s.compare(start + 1, at - start - 1, s, at + 3, end - at - 3) == 0)
            {
                s.replace(start, end - start + 1, s.substr(start, at - start) + " />");
                at = start;
            }
        }
        return s;
    }

    ScopedTempDirectory temp;
};
