#include <juce_graphics/juce_graphics.h>

#include <gtest/gtest.h>

namespace
{
juce::MemoryBlock EncodedPicture()
{
    juce::Image picture(juce::Image::ARGB, 64, 48, true);
    juce::Graphics g(picture);
    g.setGradientFill(juce::ColourGradient(juce::Colours::red, 0, 0, juce::Colours::blue, 64, 48, false));
    g.fillAll();
    juce::MemoryOutputStream out;
    juce::PNGImageFormat().writeImageToStream(picture, out);
    return out.getMemoryBlock();
}

juce::Image Decode(const void* data, size_t size)
{
    juce::MemoryInputStream in(data, size, false);
    return juce::PNGImageFormat().decodeImage(in);
}
}

// A damaged picture file must give an empty image, never take the program down.
TEST(PngDecode, TruncatedAndCorruptFilesGiveAnEmptyImage)
{
    const juce::MemoryBlock png = EncodedPicture();
    ASSERT_TRUE(Decode(png.getData(), png.getSize()).isValid());

    for (size_t length : { size_t(8), size_t(20), size_t(33), size_t(50), png.getSize() / 2, png.getSize() - 13 })
    {
        SCOPED_TRACE(length);
        EXPECT_FALSE(Decode(png.getData(), length).isValid());
    }

    juce::MemoryBlock corrupt(png);
    for (size_t i = 40; i < corrupt.getSize() - 20; i += 7)
        corrupt[i] = (char) (corrupt[i] ^ 0x5a);
    EXPECT_FALSE(Decode(corrupt.getData(), corrupt.getSize()).isValid());
}
