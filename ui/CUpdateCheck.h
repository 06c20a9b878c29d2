#pragma once
// Asks the maker's update service whether a newer wizard exists: on request from the
// "Update" buttons, with dialogs (the fetch blocks the message thread, bounded by the
// timeouts and kMaxReplyBytes; the dialogs do not: they open and return), and silently at
// start-up through CStartupUpdateCheck.
// Static operations only; GUI message thread only, except Fetcher.

#include <functional>
#include <mutex>
#include <string>

namespace juce { class Label; class TextButton; class WebInputStream; }

class CUpdateCheck
{
public:
    enum class Outcome { Unreachable, Newer, NotNewer };

    struct Result
    {
        Outcome outcome = Outcome::Unreachable;
        std::string message;
        std::string link;
    };

    // The dialogs and desktop actions of the checks; tests install their own.
    class Ui
    {
    public:
        virtual ~Ui() = default;
        virtual void ShowWarning(const std::string& title, const std::string& message) = 0;
        virtual void ShowInfo(const std::string& title, const std::string& message) = 0;
        // Shows the question and returns; `answered` gets true only for "yes" ("no" and
        // "cancel" both answer false).
        virtual void AskYes(const std::string& title, const std::string& message,
                            std::function<void(bool)> answered) = 0;
        virtual void OpenInBrowser(const std::string& url) = 0;
        virtual void Quit() = 0;
    };

    static constexpr int kConnectTimeoutMs = 5000;
    static constexpr int kMaxReplyBytes = 64 * 1024;
    // A service that keeps trickling bytes is cut off after this long in all.
    static constexpr int kTotalTimeoutMs = 8000;

    static constexpr const char* kSettingsFile = "ZORV_Settings.xml";
    static constexpr const char* kUrlVariable = "DRXWIZARD_UPDATE_URL";
    // A reserved host that never resolves: an installation names its service in the settings file.
    static constexpr const char* kDefaultUrl = "http://updates.vorlund.example/appservices/kesta-wizard-update.php";

    //==========================================================================
    // The version label and the Update button, plain or marked for a newer version.
    static void ShowVersion(juce::Label& versionLabel, juce::TextButton& updateButton, bool newerAvailable);
    // User check of the main window's "Update" and the About panel's "Check for Updates".
    static void RunUserCheck();

    //==========================================================================
    // The steps the checks are made of.

    // DRXWIZARD_UPDATE_URL when set; otherwise Root/Update_Service of "ZORV_Settings.xml"
    // in the current directory, stored there with kDefaultUrl when missing.
    static std::string ServiceUrl();
    // HTTP GET (or a file:// URL) within the limits above; "" when the service could not be
    // reached, answered with an HTTP error status, or sent nothing.
    static std::string Fetch(const std::string& url);
    // Reply text to outcome, message and link; an empty text is unreachable.
    static Result Interpret(const std::string& reply);
    // Fetch and interpret; shows the warning box when the service is unreachable.
    static Result Check();

    // One fetch at a time that another thread may cancel.
    class Fetcher
    {
    public:
        // As CUpdateCheck::Fetch; "" once cancelled.
        std::string Fetch(const std::string& url);
        // Any thread: a fetch in progress gives up within about a second, later ones at once.
        void Cancel();

    private:
        std::mutex lock;
        juce::WebInputStream* current = nullptr;
        bool cancelled = false;
    };

    // Null restores the JUCE dialogs.
    static void SetUi(Ui* ui);
};
