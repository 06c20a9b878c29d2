#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/TextEncoding.h"

#include <gtest/gtest.h>

TEST(TextEncoding, Latin1IsConvertedAndOtherEncodingsAreRefusedWithTheReason)
{
    struct Case
    {
        std::string text;
        std::string converted; // empty: refused
        std::string reason;
    };
    const Case cases[] = {
        { "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?><R>f\xEAte</R>",
          "<?xml version=\"1.0\" encoding=\"UTF-8\" ?><R>f\xC3\xAAte</R>", "" },
        { "<?xml version='1.0' encoding='latin1'?><R>\xE9</R>", "<?xml version='1.0' encoding='UTF-8'?><R>\xC3\xA9</R>", "" },
        { "<?xml version=\"1.0\" encoding=\"UTF-8\" ?><R>f\xC3\xAAte</R>",
          "<?xml version=\"1.0\" encoding=\"UTF-8\" ?><R>f\xC3\xAAte</R>", "" },
        { "<R>plain</R>", "<R>plain</R>", "" },
        { std::string("\xFF\xFE<\0R\0>\0", 8), "", "1: the file is UTF-16 text" },
        { std::string("<\0R\0>\0<\0", 8), "", "1: the file is UTF-16 text" },
        { "<?xml version=\"1.0\" encoding=\"windows-1252\" ?><R/>", "", "1: its encoding \"windows-1252\" is not read" },
        { "<R>\n\nf\xEAte</R>", "", "3: byte 0xEA is not UTF-8" },
        { "<R>\xC0\xAF</R>", "", "1: byte 0xC0 is not UTF-8" },
        { "<R>\xED\xA0\x80</R>", "", "1: byte 0xED is not UTF-8" },
        // Past long runs of ASCII, at no particular alignment, and cut off at the end.
        { "<R>0123456789abcdef\n\xEA</R>", "", "2: byte 0xEA is not UTF-8" },
        { "<R>0123456789abcdef</R>\xC3", "", "1: byte 0xC3 is not UTF-8" },
        { "<R>0123456789abcdefg\xE2\x82\xAC</R>", "<R>0123456789abcdefg\xE2\x82\xAC</R>", "" },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        std::string text = c.text;
        std::string error;
        const bool read = TextEncoding::ToUtf8(text, error);
        EXPECT_EQ(read, c.reason.empty()) << error;
        if (read)
            EXPECT_EQ(text, c.converted);
        else
            EXPECT_EQ(error.rfind(c.reason, 0), 0u) << error;
    }
}

TEST(TextEncoding, ALatin1DesignKeepsItsLettersThroughAParseAndAPrint)
{
    CXmlDocument document;
    document.ParseText("<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n<Root><Name>Salle des f\xEAtes</Name></Root>");
    ASSERT_TRUE(document.LastParseSucceeded()) << document.LastParseError();
    EXPECT_EQ(document.GetRoot("Root")->FindChild("Name")->GetString(""), "Salle des f\xC3\xAAtes");
    const std::string printed = document.ToText();
    EXPECT_NE(printed.find("encoding=\"UTF-8\""), std::string::npos) << printed;
    EXPECT_NE(printed.find("f\xC3\xAAtes"), std::string::npos) << printed;
}
