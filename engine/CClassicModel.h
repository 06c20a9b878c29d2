#pragma once
// The first SPL model as an immutable snapshot for evaluating many points: every
// full-range module of array 1 with its polar table and HF shading, placed from the hang
// position of the SPL manager's last recompute. Level gives what CSPLManager::SplAt gives
// for the same design, without reading the documents, so any thread may call it.

#include <utility>
#include <vector>

class CClassicModel
{
public:
    struct Module
    {
        double x = 0.0;                  // hanging centre of gravity, inches
        double y = 0.0;
        double angle = 0.0;              // added to the direction of a listener
        double shadingDB = 0.0;
        // (angle, level at 1 m) in the polar table's order.
        std::vector<std::pair<double, double>> polar;
    };

    explicit CClassicModel(std::vector<Module> modules);
    // Reads array 1, the SPL manager's polar tables and hang position (GUI thread).
    static CClassicModel FromDesign();

    // dB at (x, y) inches; -infinity when no module contributes.
    double Level(double x, double y) const;

private:
    static double PolarLevel(const Module& module, double angle, double distance);

    std::vector<Module> modules;
};
