#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
std::string Nest(const std::string& open, const std::string& close, int depth, const std::string& inner = "")
{
    std::string text;
    text.reserve((open.size() + close.size()) * (size_t) depth + inner.size());
    for (int i = 0; i < depth; ++i)
        text += open;
    text += inner;
    for (int i = 0; i < depth; ++i)
        text += close;
    return text;
}

int Depth(CXmlNode* node)
{
    int depth = 0;
    for (CXmlNode* n = node; ! n->IsNull(); n = n->FindChild(""))
        ++depth;
    return depth;
}
} // namespace

TEST(XmlTextReader, NoShapeOfNestingBombGetsPastTheDepthLimit)
{
    // Each opener once fooled a scanner that ran ahead of the parse; the million levels
    // behind it overflow a recursive parse.
    const std::string bomb = Nest("<a>", "</a>", 1000000);
    const std::string openers[] = {
        "",
        "<?xml version=\"> <!--\" ?>",
        "<?xml version='1.0'?><!DOCTYPE r \"> <!--\">",
        "<?pi > <!-- ?>",
        "<!-- a comment with <b> in it -->",
        "<Root x='>'>",
        "<Root x=\"<!--\">",
        "<Root>&#x</Root>x;",
        "<Root><![CDATA[ <!-- ]]>",
        "<Root><!-- --",
    };
    for (const std::string& opener : openers)
    {
        SCOPED_TRACE(opener);
        CXmlDocument doc;
        doc.ParseText(opener + bomb);
        EXPECT_FALSE(doc.LastParseSucceeded());
        EXPECT_TRUE(doc.GetRoot("Root")->FindChild("")->IsNull()) << "a refused text leaves an empty root";
    }

    CXmlDocument doc;
    doc.ParseText(bomb);
    EXPECT_EQ(doc.LastParseError(), "text:1: elements nested deeper than 64");
}

TEST(XmlTextReader, TheDepthLimitCountsEveryElementWhateverSurroundsIt)
{
    const int limit = CXmlDocument::kMaxDepth;
    struct Case
    {
        const char* what;
        std::string text;
        bool accepted;
    };
    const Case cases[] = {
        { "open and close at the limit", Nest("<a>", "</a>", limit), true },
        { "one more", Nest("<a>", "</a>", limit + 1), false },
        { "an empty element one level below the limit", Nest("<a>", "</a>", limit, "<b/>"), false },
        { "an empty element at the limit", Nest("<a>", "</a>", limit - 1, "<b/>"), true },
        { "markup that looks like tags", Nest("<a x='>' y=\"&lt;/a>\">", "</a>", limit,
                                              "<!-- <b><b> --><![CDATA[<c><c>]]><?p <d> ?>text"), true },
        { "end tags inside comments do not close", Nest("<a><!--</a>-->", "</a>", limit + 1), false },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        CXmlDocument doc;
        doc.ParseText(c.text);
        EXPECT_EQ(doc.LastParseSucceeded(), c.accepted) << doc.LastParseError();
    }

    CXmlDocument doc;
    doc.ParseText(Nest("<a>", "</a>", limit));
    EXPECT_EQ(Depth(doc.GetRoot("Root")), limit);
}

TEST(XmlTextReader, ReadsTheDocumentsTheWizardWritesAndRefusesBrokenOnes)
{
    struct Case
    {
        std::string text;
        const char* value;    // of Root/V when accepted, else the error
        bool accepted;
    };
    const Case cases[] = {
        { "<?xml version=\"1.0\" ?>\n<Root>\n    <V>1.5</V>\n</Root>\n", "1.5", true },
        { "\xEF\xBB\xBF<Root><V>bom</V></Root>", "bom", true },
        { "<!-- c --><?pi x?><Root><V>  two   words \n here </V></Root><!-- after -->", "two words here", true },
        { "<Root><V>&lt;&amp;&gt;&quot;&apos;&#65;&#x42;&#x20AC;</V></Root>", "<&>\"'AB\xE2\x82\xAC", true },
        { "<Root><V>&unknown; &#xZZ; &#0; &</V></Root>", "&unknown; &#xZZ; &#0; &", true },
        { "<Root><V><![CDATA[ <raw> & ]]></V></Root>", " <raw> & ", true },
        { "<Root><V a='1' b=\"&lt;\">x</V></Root>", "x", true },
        { "<Root><V>1</V>", "1: the text ends inside <Root>", false },
        { "<Root><V>1</W></Root>", "1: end tag </W> where </V> belongs", false },
        { "<Root></Root></Root>", "1: end tag </Root> without its start tag", false },
        { "<Root/><Other/>", "1: a second root element <Other>", false },
        { "text<Root/>", "1: text outside the root element", false },
        { "<Root><V a=1/></Root>", "1: attribute a of <V> has no quoted value", false },
        { "<Root><V a='1' a='2'/></Root>", "1: attribute a of <V> is given twice", false },
        { "<Root>\n<V a='<'/></Root>", "2: attribute a of <V> holds '<'", false },
        { "<Root><!-- open", "1: no closing -->", false },
        { "<Root/><?xml version='1.0'?>", "1: the XML declaration is not at the start", false },
        { "<!DOCTYPE r [ <!ENTITY e 'x'> ]><Root/>", "1: a document type with an internal subset", false },
        { "<Root>\n\n< V/></Root>", "3: '<' not followed by a name", false },
        { std::string("<Root>\0</Root>", 14), "1: the text holds a NUL character", false },
        { "", "1: no element", false },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        CXmlDocument doc;
        doc.ParseText(c.text);
        ASSERT_EQ(doc.LastParseSucceeded(), c.accepted) << doc.LastParseError();
        if (c.accepted)
        {
            EXPECT_EQ(doc.GetRoot("Root")->FindChild("V")->GetString("?"), c.value);
            // What is written reads back to the same text.
            const std::string written = doc.ToText();
            CXmlDocument again;
            again.ParseText(written);
            EXPECT_TRUE(again.LastParseSucceeded()) << again.LastParseError();
            EXPECT_EQ(again.ToText(), written);
        }
        else
        {
            EXPECT_EQ(doc.LastParseError(), std::string("text:") + c.value);
        }
    }
}

TEST(XmlTextReader, TheWrittenCopyOfADeepFileStaysSmall)
{
    // Indentation grows with the depth; at the limit a copy is at most a few times larger
    // than its file (without a limit, 20,000 levels of a 140 KB file made 1.6 GB).
    const std::string text = Nest("<a>", "</a>", CXmlDocument::kMaxDepth);
    CXmlDocument doc;
    doc.ParseText(text);
    ASSERT_TRUE(doc.LastParseSucceeded());
    EXPECT_LT(doc.ToText().size(), 100 * text.size());

    CXmlDocument deep;
    deep.ParseText(Nest("<a>", "</a>", 20000));
    EXPECT_FALSE(deep.LastParseSucceeded());
    EXPECT_LT(deep.ToText().size(), 100u);
}

TEST(XmlTextReader, EveryValueIsEscapedWhenWritten)
{
    // A name typed by the user may hold what looks like a character reference.
    const std::string values[] = { "&#x<Root>", "&#x41;", "a & b < c > d \" e ' f", "tab\there", "\x01" };
    for (const std::string& value : values)
    {
        SCOPED_TRACE(value);
        CXmlDocument doc;
        CXmlNode* root = doc.GetRoot("Root");
        root->GetChild("Name")->SetString(value);
        const std::string written = doc.ToText();
        CXmlDocument back;
        back.ParseText(written);
        ASSERT_TRUE(back.LastParseSucceeded()) << back.LastParseError() << "\n" << written;
        EXPECT_EQ(back.GetRoot("Root")->FindChild("Name")->GetString(""), value);
    }
}
