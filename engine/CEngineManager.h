#pragma once
// The one place where the documents change in answer to the user: start-up of all
// documents, the handlers the command table runs, the recompute pipeline and the
// dotted-path lookup the panels bind through. Never destroyed; GUI message thread only.

#include "base/TemplateSingleton.h"
#include "engine/CBandView.h"
#include "engine/CSplScaleSetting.h"

#include <functional>
#include <memory>
#include <string>

class CXmlNode;

class CEngineManager : public TemplateSingleton<CEngineManager>
{
public:
    virtual ~CEngineManager() = default;

    void StartEngine();
    void InitialiseEngine();

    void PerformAreaCommand(int venueSlot, int areaSlot, const std::string& target, const std::string& text);
    CXmlNode* ResolvePath(const std::string& path);
    void Recompute();

    //==========================================================================
    // The handlers the command table runs
    void SetModelCount(const std::string& target, int count);
    void ApplyModelTotals(const std::string& target);
    void SetPinSlot(int slot);
    // The SPL scale moved by steps: the top by 5 dB a step (at most 130 dB, span kept),
    // the bottom down by 1 dB a step.
    void StepSplScaleTop(double steps);
    void StepSplScaleBottom(double steps);
    // The scale those steps would leave, for checking them before they are taken.
    struct SplScale
    {
        double bottom = 0.0;
        double top = 0.0;
    };
    static SplScale ScaleAfterTopStep(double steps);
    static SplScale ScaleAfterBottomStep(double steps);
    // On: the scale spans the levels on show and follows them after every edit, until Base
    // or Range is moved. Off: the scale stays where it is.
    void SetSplScaleAutomatic(bool automatic);
    // `number` is 2 x switch + 1 when turned on; a switch turned off changes nothing.
    void SetAmplifierMode(int number);
    void SetShadingMode(int number, int position);
    void LoadArrayFile(const std::string& path);
    void SaveArrayFile(const std::string& path);
    void LoadVenueFile(const std::string& path);
    void SaveVenueFile(const std::string& path);
    // SI units (metres, kilograms) or US units (feet, pounds).
    void SetMetricUnits(bool metric);
    // The venue's air, checked by the command table against CVenueAirWrap's ranges.
    // One value of the user's processing of the loudspeaker at `position`: `field` is
    // Delay (ms), Polarity (0 or 1) or Gain (dB).
    void SetProcessing(const std::string& field, int position, double value);
    // Every subwoofer delayed by max(delta, 0) ms with the polarity given, every full-range
    // module by max(-delta, 0) ms with its own polarity: a subwoofer alignment, recomputed once.
    void AlignSubwoofers(double deltaMs, bool inverted);
    void SetAirTemperature(double celsius);
    void SetAirHumidity(double percent);
    // The view is a setting of the window (kept in the settings document, not the design).
    // Text CBandView::Parse refuses changes nothing.
    void SetView(const std::string& text);
    // The stored view; Classic when none is stored or it names no view (and headless).
    static CBandView GetView();
    // Whether the window draws the field map under the venue (also a window setting).
    void SetFieldMapShown(bool shown);
    static bool IsFieldMapShown();

    //==========================================================================
    // The design as undo keeps it: the array and venue documents as the text a save
    // writes, so that no step holds a pointer into a document another step replaces. The
    // texts are the documents' kept prints, shared: a capture copies no text, and two
    // captures of an unchanged design compare at once. Null stands for a document left as
    // it is.
    struct DesignText
    {
        std::shared_ptr<const std::string> array;
        std::shared_ptr<const std::string> venue;

        static bool Same(const std::shared_ptr<const std::string>& a, const std::shared_ptr<const std::string>& b)
        {
            return a == b || (a != nullptr && b != nullptr && *a == *b);
        }
        bool operator==(const DesignText& other) const { return Same(array, other.array) && Same(venue, other.venue); }
        bool operator!=(const DesignText& other) const { return ! (*this == other); }
    };
    DesignText CaptureDesign();
    // Puts both documents back byte for byte, but with the SPL scale `shown` (an automatic
    // scale follows the levels), rebinds and redraws as a load does. The texts are captures
    // of a computed design, whose results they hold: only the array's geometry is computed
    // again (see the definition). A null text leaves its document as it is.
    void RestoreDesign(const DesignText& design, const SplScaleSetting::Shown& shown);
    // The history is gone: no undo or redo will ask for the content a document keeps to put
    // back, which may be a whole design.
    static void ForgetPutBacks();

private:
    // One processing value of the loudspeaker at `position`, without the recompute.
    void WriteProcessing(const std::string& field, int position, double value);
    // Fills `scene` as the scene the picture is drawn from: the array's, and the venue's with
    // the array in it. They use no member: a build put off may run at shutdown, after this
    // manager.
    static void BuildArrayScene(CXmlNode* scene);
    static void BuildVenueScene(CXmlNode* scene);
    // Runs `load` (which loads, recomputes and draws); when it throws, both documents, the
    // display offset and the SPL scale are put back as they were and the failure is
    // reported. Returns what `load` returned (false: refused, nothing changed).
    bool LoadRestoringOnFailure(const std::string& failure, bool arrayChanged, const std::function<bool()>& load);
};
