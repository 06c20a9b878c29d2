#include "TestSupport.h"
#include "ui/LocalHttpServer.h"
#include "ui/CStartupUpdateCheck.h"
#include "ui/CUpdateCheck.h"
#include "xml/XmlTags.h"

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdlib>
#include <vector>

namespace
{
const std::string kUnreachableTitle = "Checking for Updates...";
const std::string kUnreachableMessage =
    "Could not reach Vorlund Technologies website to check for new wizard versions.";
const std::string kUpToDateTitle =
    "Your current program version is up to date.  (No newer version is available at the Vorlund Technologies website.)";

// Records what the checks would show and do, and answers the yes/no/cancel box.
class RecordingUi : public CUpdateCheck::Ui
{
public:
    void ShowWarning(const std::string& title, const std::string& message) override
    {
        events.push_back("warning: " + title + " | " + message);
    }
    void ShowInfo(const std::string& title, const std::string& message) override
    {
        events.push_back("info: " + title + " | " + message);
    }
    void AskYes(const std::string& title, const std::string& message, std::function<void(bool)> answered) override
    {
        events.push_back("ask: " + title + " | " + message);
        answered(answerYes);
    }
    void OpenInBrowser(const std::string& url) override { events.push_back("open: " + url); }
    void Quit() override { events.push_back("quit"); }

    bool answerYes = false;
    std::vector<std::string> events;
};

std::string Reply(const std::string& date, const std::string& news = "<News><L1>a</L1><L2>b</L2><L3>c</L3></News>")
{
    return "<?xml version=\"1.0\" ?><Root><Link>http://example.invalid/get</Link>" + date
           + "<Version>1.03</Version>" + news + "</Root>";
}

// Each test runs in a fresh directory (the settings file lands there), with the service
// URL pointed at its own server and the dialogs recorded.
class UpdateCheckTest : public ::testing::Test
{
protected:
    void SetUp() override { CUpdateCheck::SetUi(&ui); }
    void TearDown() override
    {
        CUpdateCheck::SetUi(nullptr);
        ::unsetenv(CUpdateCheck::kUrlVariable);
    }
    void PointAt(const std::string& url) { ::setenv(CUpdateCheck::kUrlVariable, url.c_str(), 1); }

    ScopedTempDirectory dir;
    RecordingUi ui;
};
} // namespace

TEST_F(UpdateCheckTest, RepliesFromTheServiceDecideTheOutcome)
{
    using O = CUpdateCheck::Outcome;
    struct Case { const char* what; std::string body; O outcome; std::string message; std::string link; };
    const std::string news = "News:\na\nb\nc\n";
    const Case cases[] = {
        { "newer serial", Reply("<Date>2008-11-10-002</Date>"), O::Newer,
          "Date: 2008-11-10-002\nVersion: 1.03\n" + news, "http://example.invalid/get" },
        { "newer year", Reply("<Date>2009-01-01-001</Date>"), O::Newer,
          "Date: 2009-01-01-001\nVersion: 1.03\n" + news, "http://example.invalid/get" },
        { "equal", Reply("<Date>2008-11-10-001</Date>"), O::NotNewer,
          "Date: 2008-11-10-001\nVersion: 1.03\n" + news, "http://example.invalid/get" },
        { "older", Reply("<Date>2008-01-31-009</Date>"), O::NotNewer,
          "Date: 2008-01-31-009\nVersion: 1.03\n" + news, "http://example.invalid/get" },
        { "missing date", Reply(""), O::NotNewer,
          "Date: 0000-00-00-001\nVersion: 1.03\n" + news, "http://example.invalid/get" },
        { "empty date", Reply("<Date></Date>"), O::NotNewer,
          "Date: 0000-00-00-001\nVersion: 1.03\n" + news, "http://example.invalid/get" },
        { "no news", Reply("<Date>2009-01-01-001</Date>", ""), O::Newer,
          "Date: 2009-01-01-001\nVersion: 1.03\nNews:\nnone\nnone\nnone\n", "http://example.invalid/get" },
        { "invalid xml", "<Root><Date>2099-01-01-001</Date><Link>x", O::NotNewer,
          "Date: 0000-00-00-001\nVersion: none\nNews:\nnone\nnone\nnone\n", "none" },
        { "not xml at all", "Service temporarily moved", O::NotNewer,
          "Date: 0000-00-00-001\nVersion: none\nNews:\nnone\nnone\nnone\n", "none" },
    };
    for (const Case& c : cases)
    {
        LocalHttpServer server(c.body);
        PointAt(server.Url());
        const CUpdateCheck::Result result = CUpdateCheck::Check();
        EXPECT_EQ(result.outcome, c.outcome) << c.what;
        EXPECT_EQ(result.message, c.message) << c.what;
        EXPECT_EQ(result.link, c.link) << c.what;
        EXPECT_EQ(server.Requests(), 1) << c.what;
    }
    EXPECT_TRUE(ui.events.empty()) << "a reply never shows the unreachable box";
}

TEST_F(UpdateCheckTest, NoUsableAnswerIsUnreachableAndShowsTheWarning)
{
    {
        PointAt("http://127.0.0.1:" + std::to_string(LocalHttpServer::UnusedPort()) + "/u.php");
        EXPECT_EQ(CUpdateCheck::Check().outcome, CUpdateCheck::Outcome::Unreachable) << "closed port";
    }
    {
        LocalHttpServer server("");
        PointAt(server.Url());
        EXPECT_EQ(CUpdateCheck::Check().outcome, CUpdateCheck::Outcome::Unreachable) << "empty reply";
    }
    {
        // An error page must not read as "up to date".
        LocalHttpServer server("<html><body>Not Found</body></html>", 404);
        PointAt(server.Url());
        EXPECT_EQ(CUpdateCheck::Check().outcome, CUpdateCheck::Outcome::Unreachable) << "HTTP 404";
    }
    ASSERT_EQ(ui.events.size(), 3u);
    for (const std::string& event : ui.events)
        EXPECT_EQ(event, "warning: " + kUnreachableTitle + " | " + kUnreachableMessage);
}

TEST_F(UpdateCheckTest, ASilentServiceIsGivenUpWithinTheConnectionTimeout)
{
    LocalHttpServer server("", 200, LocalHttpServer::Mode::Silent);
    PointAt(server.Url());
    const juce::uint32 start = juce::Time::getMillisecondCounter();
    const CUpdateCheck::Result result = CUpdateCheck::Check();
    const juce::uint32 elapsed = juce::Time::getMillisecondCounter() - start;
    EXPECT_EQ(result.outcome, CUpdateCheck::Outcome::Unreachable);
    EXPECT_LE(elapsed, (juce::uint32) CUpdateCheck::kConnectTimeoutMs + 1500u);
    EXPECT_LE(CUpdateCheck::kConnectTimeoutMs, 5000);
    EXPECT_EQ(ui.events.size(), 1u);
}

TEST_F(UpdateCheckTest, AReplyThatNeverEndsIsGivenUp)
{
    LocalHttpServer server("", 200, LocalHttpServer::Mode::Trickle);
    PointAt(server.Url());
    const juce::uint32 start = juce::Time::getMillisecondCounter();
    EXPECT_EQ(CUpdateCheck::Check().outcome, CUpdateCheck::Outcome::Unreachable);
    EXPECT_LE(juce::Time::getMillisecondCounter() - start, (juce::uint32) CUpdateCheck::kTotalTimeoutMs + 1500u);
}

TEST_F(UpdateCheckTest, AnOversizedReplyIsCutAt64KiB)
{
    LocalHttpServer server(std::string(100 * 1024, 'x'));
    EXPECT_EQ(CUpdateCheck::Fetch(server.Url()).size(), (size_t) 64 * 1024);
}

TEST_F(UpdateCheckTest, ServiceUrlComesFromTheSettingsFileUnlessTheVariableIsSet)
{
    ::unsetenv(CUpdateCheck::kUrlVariable);
    EXPECT_EQ(CUpdateCheck::ServiceUrl(), CUpdateCheck::kDefaultUrl);
    EXPECT_NE(dir.Read("ZORV_Settings.xml").find(std::string("<Update_Service>") + CUpdateCheck::kDefaultUrl),
              std::string::npos);

    dir.Write("ZORV_Settings.xml", "<Root><Run_Directory>..\\RunHere\\</Run_Directory>"
                                   "<Update_Service>http://127.0.0.1:9/x.php</Update_Service></Root>");
    EXPECT_EQ(CUpdateCheck::ServiceUrl(), "http://127.0.0.1:9/x.php");
    EXPECT_NE(dir.Read("ZORV_Settings.xml").find("Run_Directory"), std::string::npos);

    PointAt("http://127.0.0.1:1/override.php");
    EXPECT_EQ(CUpdateCheck::ServiceUrl(), "http://127.0.0.1:1/override.php");
}

TEST_F(UpdateCheckTest, AFileUrlServesAsTheService)
{
    dir.Write("reply.xml", Reply("<Date>2010-01-01-001</Date>"));
    PointAt(juce::URL(dir.File("reply.xml")).toString(false).toStdString());
    EXPECT_EQ(CUpdateCheck::Check().outcome, CUpdateCheck::Outcome::Newer);
}

TEST_F(UpdateCheckTest, UserCheckOffersTheDownloadAndQuitsOnYes)
{
    LocalHttpServer server("<Root><Date>2008-11-10-002</Date></Root>");
    PointAt(server.Url());
    const std::string message = "Date: 2008-11-10-002\nVersion: none\nNews:\nnone\nnone\nnone\n";
    const std::string ask = "ask: Newer version is available for download! | Download new version now? (select YES "
                            "to proceed with exiting program and downloading)\n \n" + message;

    ui.answerYes = true;
    CUpdateCheck::RunUserCheck();
    EXPECT_EQ(ui.events, (std::vector<std::string> { ask, "open: none", "quit" }));

    ui.events.clear();
    ui.answerYes = false;
    CUpdateCheck::RunUserCheck();
    EXPECT_EQ(ui.events, (std::vector<std::string> { ask }));
}

TEST_F(UpdateCheckTest, UserCheckReportsUpToDateOrOnlyTheWarning)
{
    {
        LocalHttpServer server(Reply("<Date>2008-11-10-001</Date>"));
        PointAt(server.Url());
        CUpdateCheck::RunUserCheck();
        ASSERT_EQ(ui.events.size(), 1u);
        EXPECT_EQ(ui.events[0], "info: " + kUpToDateTitle + " | Date: 2008-11-10-001\nVersion: 1.03\nNews:\na\nb\nc\n");
    }
    ui.events.clear();
    PointAt("http://127.0.0.1:" + std::to_string(LocalHttpServer::UnusedPort()) + "/u.php");
    CUpdateCheck::RunUserCheck();
    EXPECT_EQ(ui.events, (std::vector<std::string> { "warning: " + kUnreachableTitle + " | " + kUnreachableMessage }));
}

// Runs the message loop until the start-up check has shown its answer, for at most `ms`.
bool WaitUntilFinished(const CStartupUpdateCheck& check, int ms)
{
    const juce::uint32 end = juce::Time::getMillisecondCounter() + (juce::uint32) ms;
    while (! check.IsFinished() && juce::Time::getMillisecondCounter() < end)
        juce::MessageManager::getInstance()->runDispatchLoopUntil(20);
    return check.IsFinished();
}

void ExpectPlainVersion(const juce::Label& label, const juce::TextButton& button, const std::string& what)
{
    EXPECT_EQ(label.getText().toStdString(), Tag::VersionText) << what;
    EXPECT_FLOAT_EQ(label.getFont().getHeight(), 12.0f) << what;
    EXPECT_FALSE(label.getFont().isBold()) << what;
    EXPECT_FALSE(label.isColourSpecified(juce::Label::textColourId)) << what;
    EXPECT_FALSE(button.isColourSpecified(juce::TextButton::buttonColourId)) << what;
}

TEST_F(UpdateCheckTest, StartupCheckMarksTheLabelOnlyForANewerVersionAndNeverShowsABox)
{
    struct Case { const char* what; std::string body; int status; bool closedPort; bool marked; };
    const Case cases[] = {
        { "newer", Reply("<Date>2009-01-01-001</Date>"), 200, false, true },
        { "same date", Reply("<Date>2008-11-10-001</Date>"), 200, false, false },
        { "HTTP 404", "<html>Not Found</html>", 404, false, false },
        { "empty reply", "", 200, false, false },
        { "closed port", "", 200, true, false },
    };
    for (const Case& c : cases)
    {
        juce::Label label;
        juce::TextButton button;
        LocalHttpServer server(c.body, c.status);
        PointAt(c.closedPort ? "http://127.0.0.1:" + std::to_string(LocalHttpServer::UnusedPort()) + "/u.php"
                             : server.Url());
        CStartupUpdateCheck check(label, button);
        ExpectPlainVersion(label, button, std::string(c.what) + ": at once");
        ASSERT_TRUE(WaitUntilFinished(check, 10000)) << c.what;
        if (c.marked)
        {
            EXPECT_EQ(label.getText().toStdString(), "New Update Available!");
            EXPECT_FLOAT_EQ(label.getFont().getHeight(), 15.0f);
            EXPECT_TRUE(label.getFont().isBold());
            EXPECT_EQ(label.findColour(juce::Label::textColourId).getARGB(), 0xff55bb55u);
            EXPECT_EQ(button.findColour(juce::TextButton::buttonColourId).getARGB(), 0xff55bb55u);
            CUpdateCheck::ShowVersion(label, button, false);
            ExpectPlainVersion(label, button, "unmarked");
        }
        else
        {
            ExpectPlainVersion(label, button, c.what);
        }
    }
    EXPECT_TRUE(ui.events.empty()) << ui.events.front();
}

TEST_F(UpdateCheckTest, StartupCheckNeitherWaitsForASilentServiceNorHoldsUpTheClose)
{
    LocalHttpServer server("", 200, LocalHttpServer::Mode::Silent);
    PointAt(server.Url());
    juce::Label label;
    juce::TextButton button;
    juce::uint32 start = juce::Time::getMillisecondCounter();
    {
        CStartupUpdateCheck check(label, button);
        EXPECT_LE(juce::Time::getMillisecondCounter() - start, 500u) << "the window is not kept waiting";
        ExpectPlainVersion(label, button, "while the service is silent");
        juce::MessageManager::getInstance()->runDispatchLoopUntil(300);
        EXPECT_FALSE(check.IsFinished());
        start = juce::Time::getMillisecondCounter();
    }
    EXPECT_LE(juce::Time::getMillisecondCounter() - start, 2000u) << "closing cancels the fetch";
    juce::MessageManager::getInstance()->runDispatchLoopUntil(50);
    ExpectPlainVersion(label, button, "after the close");
    EXPECT_TRUE(ui.events.empty());
}

TEST_F(UpdateCheckTest, ACancelledFetcherReturnsNothingEvenFromAnAnsweringService)
{
    LocalHttpServer server(Reply("<Date>2009-01-01-001</Date>"));
    CUpdateCheck::Fetcher fetcher;
    fetcher.Cancel();
    EXPECT_EQ(fetcher.Fetch(server.Url()), "");
    EXPECT_EQ(server.Requests(), 0);
}
