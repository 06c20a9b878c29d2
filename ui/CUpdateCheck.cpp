#include "ui/CUpdateCheck.h"

#include "base/CRunFolders.h"
#include "ui/AskBox.h"
#include "ui/CSavePrompt.h"
#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdlib>

namespace
{
// The lines of the service's news.
const std::string* const kNewsLines[] = { &Tag::L1, &Tag::L2, &Tag::L3 };

const std::string kNone = "none";
const std::string kNoDate = "0000-00-00-001";

const std::string kUnreachableTitle = "Checking for Updates...";
const std::string kUnreachableMessage =
    "Could not reach Vorlund Technologies website to check for new wizard versions.";
const std::string kNewerTitle = "Newer version is available for download!";
const std::string kNewerQuestion =
    "Download new version now? (select YES to proceed with exiting program and downloading)\n \n";
const std::string kUpToDateTitle =
    "Your current program version is up to date.  (No newer version is available at the Vorlund Technologies website.)";
const std::string kNewUpdateText = "New Update Available!";
const juce::Colour kNewUpdateColour(0xff55bb55);

class JuceUi : public CUpdateCheck::Ui
{
public:
    void ShowWarning(const std::string& title, const std::string& message) override
    {
        juce::AlertWindow::showMessageBoxAsync(juce::MessageBoxIconType::WarningIcon, title, message);
    }

    void ShowInfo(const std::string& title, const std::string& message) override
    {
        juce::AlertWindow::showMessageBoxAsync(juce::MessageBoxIconType::InfoIcon, title, message);
    }

    void AskYes(const std::string& title, const std::string& message, std::function<void(bool)> answered) override
    {
        const auto options = juce::MessageBoxOptions()
                                 .withIconType(juce::MessageBoxIconType::WarningIcon)
                                 .withTitle(title)
                                 .withMessage(message)
                                 .withButton("Yes")
                                 .withButton("No")
                                 .withButton("Cancel");
        AskBox(options, [answered = std::move(answered)](int result) { answered(result == 1); });
    }

    void OpenInBrowser(const std::string& url) override { juce::URL(url).launchInDefaultBrowser(); }

    void Quit() override { CSavePrompt::RequestQuit(); }
};

CUpdateCheck::Ui* installedUi = nullptr;

CUpdateCheck::Ui& CurrentUi()
{
    static JuceUi juceUi;
    return installedUi != nullptr ? *installedUi : juceUi;
}

// An element without text counts as missing.
std::string ReadText(CXmlNode* node, const std::string& tag, const std::string& defaultValue)
{
    const std::string text = node->FindChild(tag)->GetString(defaultValue);
    return text.empty() ? defaultValue : text;
}

// Reads at most kMaxReplyBytes, giving up (with "") when the whole read outlasts kTotalTimeoutMs.
std::string ReadLimited(juce::InputStream& in)
{
    const juce::uint32 start = juce::Time::getMillisecondCounter();
    juce::MemoryOutputStream out;
    char buffer[512];
    while (out.getDataSize() < (size_t) CUpdateCheck::kMaxReplyBytes)
    {
        const int wanted = juce::jmin((int) sizeof(buffer), CUpdateCheck::kMaxReplyBytes - (int) out.getDataSize());
        const int got = in.read(buffer, wanted);
        if (got <= 0)
            break;
        out.write(buffer, (size_t) got);
        if (juce::Time::getMillisecondCounter() - start > (juce::uint32) CUpdateCheck::kTotalTimeoutMs)
            return {};
    }
    return out.toString().toStdString();
}
} // namespace

//==============================================================================
std::string CUpdateCheck::ServiceUrl()
{
    CXmlDocument settings;
    settings.Load(CRunFolders::SettingsFile(kSettingsFile));
    CXmlNode* service = settings.GetRoot(Tag::Root)->GetChild(Tag::Update_Service);
    const bool stored = service->HasValue();
    std::string url = service->GetString(kDefaultUrl);
    if (! stored)
        settings.Save("");

    if (const char* overridden = std::getenv(kUrlVariable))
        url = overridden;
    return url;
}

std::string CUpdateCheck::Fetch(const std::string& url)
{
    Fetcher fetcher;
    return fetcher.Fetch(url);
}

std::string CUpdateCheck::Fetcher::Fetch(const std::string& url)
{
    const juce::URL service(url);
    if (service.isLocalFile())
    {
        std::unique_ptr<juce::InputStream> in(service.getLocalFile().createInputStream());
        return in != nullptr ? ReadLimited(*in) : std::string();
    }

    juce::WebInputStream stream(service, false);
    stream.withConnectionTimeout(kConnectTimeoutMs).withNumRedirectsToFollow(5);
    {
        const std::lock_guard<std::mutex> guard(lock);
        if (cancelled)
            return {};
        current = &stream;
    }
    // An error page is no answer from the service: reading it as a reply would report
    // "up to date" for a service that failed.
    const bool connected = stream.connect(nullptr) && ! stream.isError();
    const int status = stream.getStatusCode();
    const std::string reply = connected && status >= 200 && status < 300 ? ReadLimited(stream) : std::string();

    const std::lock_guard<std::mutex> guard(lock);
    current = nullptr;
    return cancelled ? std::string() : reply;
}

void CUpdateCheck::Fetcher::Cancel()
{
    const std::lock_guard<std::mutex> guard(lock);
    cancelled = true;
    if (current != nullptr)
        current->cancel();
}

CUpdateCheck::Result CUpdateCheck::Interpret(const std::string& reply)
{
    Result result;
    if (reply.empty())
        return result;

    CXmlDocument document;
    document.ParseText(reply);
    // The parser keeps what it read before an error; a broken reply reads as all defaults.
    CXmlNode* root = document.LastParseSucceeded() ? document.GetRoot(Tag::Root) : CXmlNode::GetNullNode();
    const std::string date = ReadText(root, Tag::Date, kNoDate);

    result.message = "Date: " + date + "\n" + "Version: " + ReadText(root, Tag::Version, kNone) + "\n" + "News:\n";
    CXmlNode* news = root->FindChild(Tag::News);
    for (const std::string* line : kNewsLines)
        result.message += ReadText(news, *line, kNone) + "\n";
    result.link = ReadText(root, Tag::Link, kNone);
    result.outcome = date.compare(Tag::VersionDate) > 0 ? Outcome::Newer : Outcome::NotNewer;
    return result;
}

CUpdateCheck::Result CUpdateCheck::Check()
{
    const Result result = Interpret(Fetch(ServiceUrl()));
    if (result.outcome == Outcome::Unreachable)
        CurrentUi().ShowWarning(kUnreachableTitle, kUnreachableMessage);
    return result;
}

//==============================================================================
void CUpdateCheck::ShowVersion(juce::Label& versionLabel, juce::TextButton& updateButton, bool newerAvailable)
{
    if (newerAvailable)
    {
        versionLabel.setFont(juce::Font(15.0f, juce::Font::bold));
        versionLabel.setText(kNewUpdateText, juce::sendNotification);
        versionLabel.setColour(juce::Label::textColourId, kNewUpdateColour);
        updateButton.setColour(juce::TextButton::buttonColourId, kNewUpdateColour);
    }
    else
    {
        versionLabel.setFont(juce::Font(12.0f, juce::Font::plain));
        versionLabel.setText(Tag::VersionText, juce::sendNotification);
        versionLabel.removeColour(juce::Label::textColourId);
        updateButton.removeColour(juce::TextButton::buttonColourId);
    }
}

void CUpdateCheck::RunUserCheck()
{
    const Result result = Check();
    Ui& ui = CurrentUi();
    switch (result.outcome)
    {
        case Outcome::Newer:
            ui.AskYes(kNewerTitle, kNewerQuestion + result.message, [link = result.link](bool yes) {
                if (! yes)
                    return;
                Ui& answeredUi = CurrentUi();
                answeredUi.OpenInBrowser(link);
                answeredUi.Quit();
            });
            break;
        case Outcome::NotNewer:
            ui.ShowInfo(kUpToDateTitle, result.message);
            break;
        case Outcome::Unreachable:
            break;
    }
}

void CUpdateCheck::SetUi(Ui* ui)
{
    installedUi = ui;
}
