#include "TestSupport.h"

#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/CXmlWrap.h"
#include "base/CLine.h"
#include "base/CPoint.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <stdexcept>

namespace
{
class XmlNodeTest : public ::testing::Test
{
protected:
    CXmlNode* Parse(const std::string& text)
    {
        doc.ParseText(text);
        return doc.GetRoot("Root");
    }

    ScopedTempDirectory temp;
    CXmlDocument doc;
};
}

TEST_F(XmlNodeTest, ReadingAMissingValueStoresItsDefault)
{
    CXmlNode* root = doc.GetRoot("Root");
    EXPECT_DOUBLE_EQ(root->GetChild("A")->GetChild("B")->GetDouble(2.5), 2.5);
    CXmlNode* b = root->FindChild("A")->FindChild("B");
    ASSERT_FALSE(b->IsNull());
    EXPECT_EQ(b->GetValueType(), CXmlNode::kDouble);

    ASSERT_TRUE(doc.Save("out.xml"));
    CXmlDocument back;
    back.Load("out.xml");
    EXPECT_TRUE(back.LastParseSucceeded());
    EXPECT_EQ(back.GetRoot("Root")->FindChild("A")->FindChild("B")->GetString("x"), "2.5");
}

TEST_F(XmlNodeTest, NullNodeAbsorbsEverything)
{
    CXmlNode* root = doc.GetRoot("Root");
    CXmlNode* missing = root->FindChild("A");
    EXPECT_TRUE(missing->IsNull());
    EXPECT_EQ(missing, CXmlNode::GetNullNode());
    EXPECT_DOUBLE_EQ(missing->GetDouble(7.0), 7.0);
    missing->SetString("ignored");
    EXPECT_TRUE(missing->GetChild("B")->IsNull());
    EXPECT_TRUE(missing->AddChild("B")->IsNull());
    EXPECT_EQ(missing->GetName(), "NULL");
    EXPECT_TRUE(root->FindChild("")->IsNull());
    EXPECT_EQ(missing->GetString("d"), "d");
}

TEST_F(XmlNodeTest, ConversionOfLoadedTexts)
{
    struct Case { const char* text; bool asInt; double expected; const char* error; };
    const Case cases[] = {
        { "3.25", false, 3.25, nullptr },
        { "", false, 0, "Could not convert string to double" },
        { " 42 ", true, 42, nullptr },
        { "+5", true, 5, nullptr },
        { "x12", true, 0, "Could not convert string to int" },
        // A number is read whole, never by its leading digits.
        { "12.7", true, 0, "Could not convert string to int" },
        { "  42abc", true, 0, "Could not convert string to int" },
        { "0x7fffffff", true, 0, "Could not convert string to int" },
        { "1e9", true, 0, "Could not convert string to int" },
        { "-", true, 0, "Could not convert string to int" },
        { "99999999999", true, 0, "Could not convert string to int" },
        { "1e21", false, 1e21, nullptr },
        { "12abc", false, 0, "Could not convert string to double" },
        { "3.5 4", false, 0, "Could not convert string to double" },
        { "inf", false, std::numeric_limits<double>::infinity(), nullptr },
        { "-inf", false, -std::numeric_limits<double>::infinity(), nullptr },
        { "infinite", false, 0, "Could not convert string to double" },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        CXmlNode* v = Parse(std::string("<Root><V>") + c.text + "</V></Root>")->FindChild("V");
        try
        {
            const double got = c.asInt ? v->GetInt(0) : v->GetDouble(0.0);
            EXPECT_EQ(c.error, nullptr);
            EXPECT_EQ(got, c.expected);
        }
        catch (const std::runtime_error& e)
        {
            ASSERT_NE(c.error, nullptr) << e.what();
            EXPECT_STREQ(e.what(), c.error);
            EXPECT_EQ(v->GetValueType(), c.asInt ? CXmlNode::kInt : CXmlNode::kDouble);
        }
    }
}

TEST_F(XmlNodeTest, EmptyLoadedElementReadsAsEmptyStringAndPrintsAsItParsed)
{
    CXmlNode* radius = Parse("<Root><Radius/></Root>")->FindChild("Radius");
    EXPECT_EQ(radius->GetString("default"), "");
    EXPECT_NE(doc.ToText().find("<Radius />"), std::string::npos);
    radius->SetString("");
    EXPECT_NE(doc.ToText().find("<Radius />"), std::string::npos) << "an empty value is no text";
    radius->SetString("2");
    radius->SetString("");
    EXPECT_NE(doc.ToText().find("<Radius />"), std::string::npos);
    const std::string text = doc.ToText();
    doc.ParseText(text);
    EXPECT_EQ(doc.ToText(), text);
}

TEST_F(XmlNodeTest, NumbersReachTheTextLazilyWithSixteenDigits)
{
    CXmlNode* v = Parse("<Root><V>old</V></Root>")->FindChild("V");
    v->SetDouble(1.0);
    EXPECT_EQ(v->GetString(""), "old");
    v->StoreValue();
    EXPECT_EQ(v->GetString(""), "1");

    struct Case { double value; const char* text; };
    const Case cases[] = {
        { 0.1, "0.1" },
        { 1.0 / 3.0, "0.3333333333333333" },
        { 371.2, "371.2" },
        { std::numeric_limits<double>::infinity(), "inf" },
        { -std::numeric_limits<double>::infinity(), "-inf" },
        { std::nan(""), "nan" },
    };
    for (const Case& c : cases)
    {
        v->SetDouble(c.value);
        v->StoreValue();
        EXPECT_EQ(v->GetString(""), c.text);
    }
}

TEST_F(XmlNodeTest, NonFiniteValuesRoundTripThroughAFile)
{
    CXmlNode* root = doc.GetRoot("Root");
    root->GetChild("Low")->SetDouble(-std::numeric_limits<double>::infinity());
    root->GetChild("High")->SetDouble(std::numeric_limits<double>::infinity());
    root->GetChild("Odd")->SetDouble(std::nan(""));
    ASSERT_TRUE(doc.Save("nf.xml"));

    CXmlDocument back;
    back.Load("nf.xml");
    CXmlNode* r = back.GetRoot("Root");
    EXPECT_EQ(r->FindChild("Low")->GetDouble(0), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(r->FindChild("High")->GetDouble(0), std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(r->FindChild("Odd")->GetDouble(0)));
}

TEST_F(XmlNodeTest, CreatedNamesAreSanitisedButLookupsAreNot)
{
    CXmlNode* root = doc.GetRoot("Root");
    CXmlNode* first = root->GetChild("Foo Bar");
    EXPECT_EQ(first->GetName(), "Foo_Bar");
    CXmlNode* second = root->GetChild("Foo Bar");
    EXPECT_NE(first, second);
    EXPECT_EQ(CXmlNode::MakeTagName("a-b.c:d e"), "a_b_c_d_e");
}

TEST_F(XmlNodeTest, ForwardLinksLendMissingValues)
{
    CXmlNode* root = Parse("<Root><A/><D><Width>4</Width></D><P><Q><Depth>9</Depth></Q></P><R><Q/></R></Root>");
    CXmlNode* a = root->FindChild("A");
    CXmlNode* d = root->FindChild("D");
    a->SetForward(d);
    EXPECT_DOUBLE_EQ(a->FindChild("Width")->GetDouble(0), 4.0);
    EXPECT_EQ(a->GetChild("Width"), d->FindChild("Width"));
    EXPECT_TRUE(a->FindChild("XForward")->FindChild("Width")->IsNull());

    // A child inherits from its twin under its parent's forward target.
    CXmlNode* r = root->FindChild("R");
    r->SetForward(root->FindChild("P"));
    EXPECT_DOUBLE_EQ(r->FindChild("Q")->FindChild("Depth")->GetDouble(0), 9.0);
}

TEST_F(XmlNodeTest, KeyedSearch)
{
    CXmlNode* root = Parse("<Root><Cab><Slot>1</Slot></Cab><Cab/><Cab><Slot>3</Slot><Name>c</Name></Cab></Root>");
    EXPECT_EQ(root->FindChildByInt("Cab", "Slot", 3)->FindChild("Name")->GetString(""), "c");
    // A candidate without the key reads the default 0.
    EXPECT_FALSE(root->FindChildByInt("Cab", "Slot", 0)->IsNull());
    EXPECT_TRUE(root->FindChildByString("Cab", "Name", "zz")->IsNull());

    CXmlNode* added = root->GetChildByInt("Cab", "Slot", 9);
    EXPECT_EQ(root->FindChildByInt("Cab", "Slot", 9), added);
    EXPECT_EQ(root->GetChildByInt("Cab", "Slot", 9), added);
}

TEST_F(XmlNodeTest, CopyFromKeepsOrderOfRepeatedChildren)
{
    CXmlNode* root = Parse("<Root><S><P>1</P><Q>x</Q><P>2</P><P>3</P></S><T><P>old</P></T></Root>");
    CXmlNode* t = root->FindChild("T");
    t->CopyFrom(root->FindChild("S"));
    std::string order;
    for (CXmlNode* c = t->FindChild(""); ! c->IsNull(); c = c->NextSibling(""))
        order += c->GetName() + "=" + c->GetString("") + ";";
    EXPECT_EQ(order, "P=1;Q=x;P=2;P=3;");

    CXmlNode* copy = root->AddCopyOf(root->FindChild("S"));
    EXPECT_EQ(copy->GetName(), "S");
    EXPECT_EQ(copy->FindChild("P", copy->FindChild("P"))->GetString(""), "2");
    EXPECT_TRUE(root->AddCopyOf(CXmlNode::GetNullNode())->IsNull());

    // Left out: the first direct child of each name given, nothing deeper, no later twin.
    CXmlNode* item = Parse("<Root><I>7<R>a</R><X>1</X><R>b</R><M><R>c</R></M><N/></I></Root>")->FindChild("I");
    CXmlNode* trimmed = doc.GetRoot("Root")->AddCopyOf(item, { "R", "N", "Absent" });
    std::string kept = trimmed->GetString("") + ":";
    for (CXmlNode* c = trimmed->FindChild(""); ! c->IsNull(); c = c->NextSibling(""))
        kept += c->GetName() + "=" + c->GetString("") + c->FindChild("R")->GetString("") + ";";
    EXPECT_EQ(kept, "7:X=1;R=b;M=c;");
}

// A value reaches the text again only when it changed, but every change does reach it: a
// number read from the text is written back as formatted, a value set twice over, a type
// switched, minus zero, and a cached point changed after a save.
TEST_F(XmlNodeTest, EveryChangeReachesTheTextOnce)
{
    CXmlNode* root = Parse("<Root><V>+7</V><Pt><X>1</X><Y>2</Y></Pt></Root>");
    CXmlNode* v = root->FindChild("V");
    EXPECT_EQ(v->GetInt(0), 7);
    v->StoreValue();
    EXPECT_EQ(v->GetString(""), "7");

    struct Step { double number; bool asInt; const char* text; };
    const Step steps[] = {
        { 2.5, false, "2.5" }, { 2.5, false, "2.5" }, { 3.0, true, "3" }, { 3.0, false, "3" },
        { 0.0, false, "0" }, { -0.0, false, "-0" }, { 0.0, false, "0" }, { 3.0, true, "3" },
    };
    for (const Step& step : steps)
    {
        if (step.asInt)
            v->SetInt((int) step.number);
        else
            v->SetDouble(step.number);
        doc.ToText();
        EXPECT_EQ(v->GetString(""), step.text) << step.number;
    }

    CPoint* p = root->FindChild("Pt")->GetPoint();
    p->x = 7.5;
    EXPECT_NE(doc.ToText().find("<X>7.5</X>"), std::string::npos);
    p->x = 8.5;
    EXPECT_NE(doc.ToText().find("<X>8.5</X>"), std::string::npos);
}

// The printed text is kept between changes; every way a document changes must reach it.
TEST_F(XmlNodeTest, PrintedTextFollowsEveryKindOfChange)
{
    CXmlNode* root = Parse("<Root><A><B>1</B></A><Pt><X>1</X><Y>2</Y></Pt><L><Point1><X>0</X><Y>0</Y></Point1>"
                           "<Point2><X>3</X><Y>4</Y></Point2><LAngle>53</LAngle><LDist>5</LDist></L>"
                           "<N><M>2.50</M></N></Root>");
    CXmlDocument other;
    other.ParseText("<Root><Taken/></Root>");
    struct Change
    {
        const char* what;
        std::function<void()> change;
        const char* text;
        bool present;
    };
    const Change changes[] = {
        { "string", [&] { root->FindChild("A")->FindChild("B")->SetString("x"); }, "<B>x</B>", true },
        { "double", [&] { root->FindChild("A")->FindChild("B")->SetDouble(2.5); }, "<B>2.5</B>", true },
        { "int", [&] { root->FindChild("A")->FindChild("B")->SetInt(4); }, "<B>4</B>", true },
        { "read as a number", [&] { root->FindChild("N")->FindChild("M")->GetDouble(0.0); }, "<M>2.5</M>", true },
        { "new and deep", [&] { root->GetChild("E")->GetChild("F")->GetChild("G")->SetInt(7); }, "<G>7</G>", true },
        { "added", [&] { root->AddChild("C"); }, "<C", true },
        { "copied", [&] { root->FindChild("C")->CopyFrom(root->FindChild("A")->FindChild("B")); }, "<C>4</C>", true },
        { "empty", [&] { root->FindChild("A")->FindChild("B")->SetString(""); }, "<B>4</B>", false },
        { "point", [&] { root->FindChild("Pt")->GetPoint()->x = 9.0; }, "<X>9</X>", true },
        // The write-back must not reuse the removed child it found the last time.
        { "point's child replaced",
          [&] {
              root->FindChild("Pt")->RemoveChild("X");
              root->FindChild("Pt")->GetPoint()->x = 6.0;
          },
          "<X>6</X>", true },
        // A point or line changed through its pointer, with nothing else changed since a print.
        { "point again", [&] { root->FindChild("Pt")->GetPoint()->x = 11.0; }, "<X>11</X>", true },
        { "line", [&] { root->FindChild("L")->GetLine()->SetByKey("sX", 1.5); }, "<X>1.5</X>", true },
        { "line again", [&] { root->FindChild("L")->GetLine()->SetByKey("sX", 2.5); }, "<X>2.5</X>", true },
        { "created", [&] { root->GetChild("D", root->FindChild("A"), CXmlNode::kFirst); }, "<D", true },
        { "removed", [&] { root->RemoveChild("A"); }, "<A>", false },
        { "cleared", [&] { root->FindChild("L")->ClearChildren(); }, "<LDist>", false },
        { "parsed", [&] { root = Parse("<Root><P/></Root>"); }, "<P", true },
        { "emptied", [&] { root = doc.ClearRoot(); }, "<P", false },
        { "taken", [&] { doc.TakeContentFrom(other); }, "<Taken", true },
        { "taken, then changed", [&] { doc.GetRoot("Root")->FindChild("Taken")->SetString("t"); }, "<Taken>t<", true },
    };
    for (const Change& c : changes)
    {
        // Twice: the second print finds the document as the first left it.
        doc.ToText();
        doc.ToText();
        c.change();
        EXPECT_EQ(doc.ToText().find(c.text) != std::string::npos, c.present) << c.what;
    }
}

TEST_F(XmlNodeTest, PutBackTakesBackTheContentReplacedAsItWasPrinted)
{
    const std::string text = "<Root><A>1.5</A><Pt><X>1</X><Y>2</Y></Pt></Root>";
    const std::string file = "other.xml";
    {
        CXmlDocument written;
        written.ParseText("<Root><F>3</F></Root>");
        ASSERT_TRUE(written.Save(file));
    }
    struct Replacement
    {
        const char* what;
        std::function<void()> replace;
    };
    const Replacement replacements[] = {
        { "parsed", [&] { doc.ParseText("<Root><P>2</P></Root>"); } },
        { "loaded", [&] { doc.Load(file); } },
        { "taken over",
          [&] {
              CXmlDocument other;
              other.ParseText("<Root><T>4</T></Root>");
              doc.TakeContentFrom(other);
          } },
        { "refused", [&] { doc.ParseText("<Root><Open>"); } },
        { "emptied", [&] { doc.ClearRoot()->GetChild("E")->SetInt(6); } },
    };
    for (const Replacement& r : replacements)
    {
        Parse(text)->FindChild("Pt")->GetPoint()->x = 5.0;
        const std::shared_ptr<const std::string> before = doc.Printed();
        r.replace();
        const std::shared_ptr<const std::string> after = doc.Printed();
        doc.PutBack(before);
        // Taken back, not read again: the document holds its print as it was, and its nodes
        // are made anew over the content.
        EXPECT_EQ(doc.Printed(), before) << r.what;
        EXPECT_DOUBLE_EQ(doc.GetRoot("Root")->FindChild("Pt")->GetPoint()->x, 5.0) << r.what;
        EXPECT_DOUBLE_EQ(doc.GetRoot("Root")->FindChild("A")->GetDouble(0.0), 1.5) << r.what;
        // The content that left is kept in turn, for a redo.
        doc.PutBack(after);
        EXPECT_EQ(doc.Printed(), after) << r.what;
        EXPECT_EQ(doc.ToText(), *after) << r.what;
    }

    // Content changed since its print, or a text that is not the print kept, is read from the
    // text, which it then holds.
    CXmlNode* root = Parse(text);
    const std::shared_ptr<const std::string> printed = doc.Printed();
    root->FindChild("Pt")->GetPoint()->x = 9.0;
    doc.ParseText("<Root/>");
    doc.PutBack(printed);
    EXPECT_NE(doc.Printed(), printed);
    EXPECT_EQ(doc.ToText(), *printed);
    const auto copy = std::make_shared<const std::string>(*doc.Printed());
    doc.ParseText("<Root/>");
    doc.PutBack(copy);
    EXPECT_NE(doc.Printed(), copy);
    EXPECT_EQ(doc.ToText(), *copy);
    EXPECT_DOUBLE_EQ(doc.GetRoot("Root")->FindChild("Pt")->GetPoint()->x, 1.0);

    // Emptied content that could not be put back as it stood is emptied in place; either
    // way the declaration, the comments and the root's attributes stay.
    const std::string dressed = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<!-- c -->\n<Root a=\"1\">t<B>2</B></Root>";
    Parse(dressed);
    doc.ClearRoot();
    const std::string inPlace = doc.ToText();
    Parse(dressed);
    doc.Printed();
    doc.ClearRoot();
    EXPECT_EQ(doc.ToText(), inPlace);
    EXPECT_EQ(inPlace, "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<!-- c -->\n<Root a=\"1\" />\n");

    // So is content let go of once no undo could ask for it.
    Parse(text);
    const std::shared_ptr<const std::string> dropped = doc.Printed();
    doc.ParseText("<Root/>");
    doc.DropContentAside();
    doc.PutBack(dropped);
    EXPECT_NE(doc.Printed(), dropped);
    EXPECT_EQ(doc.ToText(), *dropped);
}

TEST_F(XmlNodeTest, PointAndLineCachesWriteBackOnSave)
{
    CXmlNode* root = Parse("<Root><Pt><X>1</X><Y>2</Y></Pt><L><Point1><X>0</X><Y>0</Y></Point1>"
                           "<Point2><X>3</X><Y>4</Y></Point2><LAngle>53</LAngle><LDist>5</LDist></L></Root>");
    CPoint* p = root->FindChild("Pt")->GetPoint();
    EXPECT_DOUBLE_EQ(p->x, 1.0);
    EXPECT_DOUBLE_EQ(p->distance, 0.0);
    p->x = 7.5;
    CLine* l = root->FindChild("L")->GetLine();
    EXPECT_DOUBLE_EQ(l->length, 5.0);
    l->SetByKey("sX", 1.0);

    const std::string text = doc.ToText();
    EXPECT_NE(text.find("<X>7.5</X>"), std::string::npos);
    EXPECT_DOUBLE_EQ(root->FindChild("L")->FindChild("Point1")->FindChild("X")->GetDouble(0), 1.0);
}

TEST_F(XmlNodeTest, RemoveAndClearChildren)
{
    CXmlNode* root = Parse("<Root><A><B/></A><C/></Root>");
    root->RemoveChild("A");
    EXPECT_TRUE(root->FindChild("A")->IsNull());
    EXPECT_FALSE(root->FindChild("C")->IsNull());
    root->ClearChildren();
    EXPECT_TRUE(root->FindChild("")->IsNull());
}

TEST_F(XmlNodeTest, LoadOfMissingOrBrokenFiles)
{
    EXPECT_TRUE(doc.Load("missing.xml"));
    EXPECT_FALSE(doc.LastParseSucceeded());
    EXPECT_EQ(doc.GetRoot("Root")->GetName(), "Root");
    EXPECT_TRUE(doc.GetRoot("Root")->FindChild("")->IsNull());
    ASSERT_TRUE(doc.Save(""));
    EXPECT_EQ(temp.Read("missing.xml"), "<?xml version=\"1.0\" ?>\n<Root />\n");

    temp.Write("other.xml", "<Other><V>1</V></Other>");
    doc.Load("other.xml");
    EXPECT_TRUE(doc.LastParseSucceeded());
    EXPECT_EQ(doc.GetRoot("Root")->GetName(), "Other");

    temp.Write("garbage.xml", "this is not <xml");
    doc.Load("garbage.xml");
    EXPECT_FALSE(doc.LastParseSucceeded());
}

TEST_F(XmlNodeTest, DeepNestingIsRefused)
{
    std::string deep;
    for (int i = 0; i < 50000; ++i)
        deep += "<a>";
    for (int i = 0; i < 50000; ++i)
        deep += "</a>";
    doc.ParseText("<Root>" + deep + "</Root>");
    EXPECT_FALSE(doc.LastParseSucceeded());
    EXPECT_TRUE(doc.GetRoot("Root")->FindChild("")->IsNull());

    std::string ok;
    for (int i = 0; i < CXmlDocument::kMaxDepth - 1; ++i)
        ok += "<a x='>'>";
    ok += "<!-- <b> --><c/>";
    for (int i = 0; i < CXmlDocument::kMaxDepth - 1; ++i)
        ok += "</a>";
    doc.ParseText(ok);
    EXPECT_TRUE(doc.LastParseSucceeded());
}

TEST_F(XmlNodeTest, SaveIntoAMissingFolderFailsAndLeavesNothing)
{
    doc.GetRoot("Root")->GetChild("A")->SetInt(1);
    EXPECT_FALSE(doc.Save("no/such/dir/file.xml"));
    EXPECT_FALSE(temp.File("no").exists());
}

TEST_F(XmlNodeTest, WrapperBasics)
{
    CXmlWrap unbound;
    EXPECT_EQ(unbound.GetXGuid(), "");
    unbound.SetInUse(true);
    EXPECT_TRUE(unbound.GetNode()->IsNull());

    CXmlNode* root = Parse("<Root><P><Parent/></P><Q/></Root>");
    CXmlWrap product(root->FindChild("P"));
    EXPECT_EQ(product.GetXGuid(), "");
    EXPECT_NE(doc.ToText().find("<XGuid />"), std::string::npos);
    product.SetInUse(true);
    product.SetInUse(false);
    EXPECT_EQ(root->FindChild("P")->FindChild("FlagInUse")->GetString(""), "False");
    EXPECT_TRUE(root->FindChild("P")->FindChild("FlagInUse", root->FindChild("P")->FindChild("FlagInUse"))->IsNull());

    product.SetParentLink(root->FindChild("Q"));
    EXPECT_EQ(root->FindChild("P")->FindChild("Parent")->GetLink(), root->FindChild("Q"));
    CXmlWrap orphan(root->FindChild("Q"));
    orphan.SetParentLink(root);
    EXPECT_TRUE(root->FindChild("Q")->FindChild("Parent")->IsNull());
}
