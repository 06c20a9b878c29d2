#include "base/NumberText.h"

#include <juce_core/juce_core.h>

#include <charconv>
#include <cmath>
#include <iomanip>
#include <limits>
#include <sstream>

void IntToString(std::string& out, int value)
{
    out = std::to_string(value);
}

void DoubleToString(std::string& out, double value, int decimals)
{
    std::ostringstream stream;
    if (decimals >= 0)
        stream << std::fixed << std::setprecision(decimals);
    stream << value;
    out = stream.str();
}

std::string DoubleToString(double value, int decimals)
{
    std::string out;
    DoubleToString(out, value, decimals);
    return out;
}

void StringToInt(const std::string& text, int& out)
{
    std::istringstream stream(text);
    int value = 0;
    if (stream >> value)
        out = value;
}

void StringToDouble(const std::string& text, double& out)
{
    std::istringstream stream(text);
    double value = 0.0;
    if (stream >> value)
        out = value;
}

bool ParseDecimal(const std::string& text, double& value)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+')
        ++begin;
    if (begin == end || (*begin == '-' && text[0] == '+'))
        return false;
    for (const char* c = begin; c != end; ++c)
        if (! ((*c >= '0' && *c <= '9') || *c == '.' || *c == 'e' || *c == 'E' || *c == '-' || *c == '+'))
            return false;
    const auto result = std::from_chars(begin, end, value, std::chars_format::general);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

std::string ShortestText(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value);
    return std::string(buffer, result.ptr);
}

bool IsWholeNumber(double value)
{
    return value == std::trunc(value) && value >= std::numeric_limits<int>::min()
           && value <= std::numeric_limits<int>::max();
}

namespace
{
std::function<int64_t()>& ThrottleClock()
{
    static std::function<int64_t()> clock;
    return clock;
}

int64_t NowMilliseconds()
{
    auto& clock = ThrottleClock();
    return clock ? clock() : juce::Time::currentTimeMillis();
}

bool throttleStarted = false;
int64_t throttleLast = 0;
}

bool ThrottleElapsed()
{
    const int64_t now = NowMilliseconds();
    if (! throttleStarted || now - throttleLast > 200)
    {
        throttleStarted = true;
        throttleLast = now;
        return true;
    }
    return false;
}

void SetThrottleClock(std::function<int64_t()> clock)
{
    ThrottleClock() = std::move(clock);
    throttleStarted = false;
}
