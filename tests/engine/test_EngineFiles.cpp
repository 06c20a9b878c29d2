#include "EngineFixture.h"

#include <stdexcept>

class EngineFiles : public EngineFixture
{
protected:
    // Runs a command the way the window does: a fatal report ends it with an exception.
    static bool Fails(const std::string& target, double number, const std::string& path)
    {
        try
        {
            Command(target, number, path);
            return false;
        }
        catch (const std::runtime_error&)
        {
            return true;
        }
    }

    static bool Reported(const std::string& text)
    {
        for (const std::string& m : reported())
            if (m.rfind(text, 0) == 0)
                return true;
        return false;
    }
};

TEST_F(EngineFiles, ArrayFileRoundTripGivesTheSameDocuments)
{
    Command("Model_DRXS1", 1);
    Command("Model_DRXR1", 3);
    Command("SlotPin", 4);
    const std::string path = temp.File("design.21w").getFullPathName().toStdString();
    Command("SaveArrayFile", 0, path);
    const std::string saved = Documents();

    Command("Model_DRXS1", 0);
    Command("Model_DRXR1", 6);
    ASSERT_NE(Documents(), saved);

    Command("LoadArrayFile", 0, path);
    EXPECT_EQ(Documents(), saved);
    EXPECT_TRUE(reported().empty());
}

TEST_F(EngineFiles, RefusedLoadsLeaveTheDesignAsItWas)
{
    const std::string good = temp.File("good.21w").getFullPathName().toStdString();
    Command("SaveArrayFile", 0, good);
    std::string text = temp.Read("good.21w");
    const size_t pin = text.find("<SlotPin>");
    ASSERT_NE(pin, std::string::npos);
    const size_t value = text.find("<Value>", pin) + 7;
    text.replace(value, text.find('<', value) - value, "seven");
    temp.Write("badnumber.21w", text);
    temp.Write("garbage.21w", "<Root><Array>");
    temp.Write("venueonly.21w", "<Root><Venue/></Root>");
    temp.Write("garbage.21v", "not xml at all");
    temp.Write("array.21v", "<Root><Array/></Root>");

    struct Case { const char* target; const char* file; const char* message; };
    const Case cases[] = {
        { "LoadArrayFile", "missing.21w", "Error: Could not load array file " },
        { "LoadArrayFile", "garbage.21w", "Error: Could not load array file " },
        { "LoadArrayFile", "venueonly.21w", "Error: Could not load array file " },
        { "LoadArrayFile", "badnumber.21w", "Error: Could not load array file " },
        { "LoadVenueFile", "missing.21v", "Error: Could not load venue file " },
        { "LoadVenueFile", "garbage.21v", "Error: Could not load venue file " },
        { "LoadVenueFile", "array.21v", "Error: Could not load venue file " },
    };
    Command("Model_DRXR1", 4);
    const std::string before = Documents();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.file);
        reported().clear();
        const std::string path = temp.File(c.file).getFullPathName().toStdString();
        Fails(c.target, 0, path);
        EXPECT_TRUE(Reported(std::string(c.message) + path));
        EXPECT_EQ(Documents(), before);
    }
}

TEST_F(EngineFiles, FailedSavesAreReportedAndChangeNothing)
{
    const std::string before = Documents();
    const std::string array = temp.File("no/such/folder/a.21w").getFullPathName().toStdString();
    EXPECT_TRUE(Fails("SaveArrayFile", 0, array));
    EXPECT_TRUE(Reported("Error: Could not save array file " + array));
    const std::string venue = temp.File("no/such/folder/v.21v").getFullPathName().toStdString();
    Fails("SaveVenueFile", 0, venue);
    EXPECT_TRUE(Reported("Error: Could not save venue file " + venue));
    EXPECT_EQ(Documents(), before);
}

TEST_F(EngineFiles, VenueFileRoundTrip)
{
    const std::string path = temp.File("hall.21v").getFullPathName().toStdString();
    CEngineManager::GetInstance()->PerformAreaCommand(1, 4, "LAngle", "12");
    Command("SaveVenueFile", 0, path);
    const std::string saved = CVenueManager::GetInstance()->SaveState();
    CEngineManager::GetInstance()->PerformAreaCommand(1, 4, "LAngle", "3");
    Command("LoadVenueFile", 0, path);
    EXPECT_EQ(CVenueManager::GetInstance()->SaveState(), saved);
}

TEST_F(EngineFiles, AreaValuesBeyondTheVenueAreRefusedAndChangeNothing)
{
    const std::string before = Documents();
    const char* keys[] = { "sX", "sY", "eX", "eY", "LDist", "LAngle" };
    for (const char* key : keys)
    {
        for (const char* value : { "-1e308", "250000" })
        {
            SCOPED_TRACE(std::string(key) + "=" + value);
            reported().clear();
            CEngineManager::GetInstance()->PerformAreaCommand(1, 3, key, value);
            EXPECT_EQ(Documents(), before);
            ASSERT_EQ(reported().size(), 1u);
            EXPECT_TRUE(Reported(std::string("Error: Area 3: ") + key + " = ")) << reported()[0];
        }
    }

    // A sane value afterwards is taken, and nothing that is not a number is left behind.
    reported().clear();
    CEngineManager::GetInstance()->PerformAreaCommand(1, 3, "eX", "80");
    EXPECT_TRUE(reported().empty());
    EXPECT_NE(Documents(), before);
    EXPECT_EQ(Documents().find("nan"), std::string::npos);
}
