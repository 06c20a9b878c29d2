#pragma once
// The design report: one self-contained printable HTML page (pictures embedded as data:
// URIs, print styles that fit A4 and Letter) with the design's name and date, the rigging
// table, the coverage table, the whole venue picture, an SPL-versus-distance plot per
// audience surface and any further sections the caller adds. Reads the documents as the
// last command left them and adds nothing to them. GUI message thread only (it draws the
// venue picture).

#include "render/CDisplayUnits.h"

#include <string>
#include <vector>

namespace juce
{
class File;
}

class CDesignReport
{
public:
    // A section the caller adds after the built-in ones: a heading and its HTML body.
    struct Section
    {
        std::string title;
        std::string html;
    };

    struct Options
    {
        // Empty: the name of the design's file, or "Untitled design".
        std::string title;
        // Empty: now, as the local date and time.
        std::string date;
        CDisplayUnits units;
        std::vector<Section> sections;
        // The venue picture, in pixels.
        int pictureWidth = 1500;
        int pictureHeight = 800;
    };

    static std::string Build(const Options& options);
    // Writes `html` as the saves write a design (a temporary file renamed over `target`,
    // never through a link or over what is not a regular file); false with `error` saying why.
    static bool Write(const std::string& html, const juce::File& target, std::string& error);

    // Text made safe for HTML.
    static std::string Escape(const std::string& text);
    // `value` with `decimals` decimals and `unit` after it; "–" when it is not finite.
    static std::string Fixed(double value, int decimals, const std::string& unit = "");
    // The median of `values` (unsorted; not empty).
    static double Median(std::vector<double> values);
};
