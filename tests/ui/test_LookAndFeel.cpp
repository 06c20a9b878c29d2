#include "ui/CZorvSkin2LookAndFeel.h"

#include <gtest/gtest.h>

#include <memory>

TEST(LookAndFeel, EachVariantCarriesItsColourTable)
{
    using LF = juce::LookAndFeel;
    struct Row { int id; juce::uint32 first; juce::uint32 second; };
    const Row rows[] = {
        { juce::TextEditor::textColourId, 0xffffffffu, 0xff000000u },
        { juce::Label::textColourId, 0xffffffffu, 0xff000000u },
        { juce::TextEditor::backgroundColourId, 0xffd5d6d7u, 0xffd5d6d7u },
        { juce::TextButton::buttonColourId, 0xff909090u, 0xff909090u },
        { juce::TextButton::buttonOnColourId, 0xffc7c7c7u, 0xffc7c7c7u },
        { juce::TextButton::textColourOffId, 0xffffffffu, 0xffffffffu },
        { juce::Slider::trackColourId, 0xffd5d6d7u, 0xffd5d6d7u },
        { juce::Slider::textBoxBackgroundColourId, 0xffd8d8d8u, 0xffd8d8d8u },
    };
    std::unique_ptr<LF> white(CZorvSkin2LookAndFeel::Create(1));
    std::unique_ptr<LF> black(CZorvSkin2LookAndFeel::Create(2));
    ASSERT_NE(white, nullptr);
    ASSERT_NE(black, nullptr);
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.id);
        EXPECT_EQ(white->findColour(row.id).getARGB(), row.first);
        EXPECT_EQ(black->findColour(row.id).getARGB(), row.second);
    }
}

TEST(LookAndFeel, OnlyTheTwoVariantsExist)
{
    for (int index : { 0, 3, -1 })
        EXPECT_EQ(CZorvSkin2LookAndFeel::Create(index), nullptr) << index;
}

TEST(LookAndFeel, ComponentsUnderEachVariantShowItsLabelText)
{
    std::unique_ptr<juce::LookAndFeel> white(CZorvSkin2LookAndFeel::Create(1));
    std::unique_ptr<juce::LookAndFeel> black(CZorvSkin2LookAndFeel::Create(2));
    juce::Component parent;
    juce::Label label;
    juce::TextButton button;
    parent.addChildComponent(label);
    parent.addChildComponent(button);

    // Children inherit the parent's look and feel, as the window's children do.
    parent.setLookAndFeel(black.get());
    EXPECT_EQ(label.findColour(juce::Label::textColourId), juce::Colours::black);
    EXPECT_EQ(button.findColour(juce::TextButton::textColourOffId), juce::Colours::white);
    label.setLookAndFeel(white.get());
    EXPECT_EQ(label.findColour(juce::Label::textColourId), juce::Colours::white);

    label.setLookAndFeel(nullptr);
    parent.setLookAndFeel(nullptr);
}
