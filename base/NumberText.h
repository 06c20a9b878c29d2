#pragma once
// Number-to-text helpers and the process-wide 200 ms command throttle.

#include <cstdint>
#include <functional>
#include <string>

void IntToString(std::string& out, int value);
// decimals >= 0: fixed with that many digits; negative: the stream's default format.
void DoubleToString(std::string& out, double value, int decimals);
std::string DoubleToString(double value, int decimals);
// Reads a number from the start of `text`; `out` is unchanged when none can be read.
void StringToInt(const std::string& text, int& out);
void StringToDouble(const std::string& text, double& out);
// A finite decimal number (no hex, no inf or nan) filling the whole of `text`.
bool ParseDecimal(const std::string& text, double& value);
// The shortest decimal text that reads back as `value`.
std::string ShortestText(double value);
// A whole number within the int range.
bool IsWholeNumber(double value);

// True when more than 200 ms have passed since the last call that returned true.
bool ThrottleElapsed();
// Replaces the millisecond clock the throttle reads (tests); null restores JUCE's clock.
void SetThrottleClock(std::function<int64_t()> clock);
