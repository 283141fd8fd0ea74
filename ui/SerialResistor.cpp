#include "ui/SerialResistor.h"

#include "plot/TextFormat.h"

#include <cmath>
#include <limits>

float StoredSerialResistor(std::optional<double> answer)
{
    if (!answer || !std::isfinite(*answer))
        return 0.0f;
    const double tenths = std::nearbyint(*answer * 10.0); // halves to even
    const double ohm = tenths * 0.1;
    // Narrowing a double beyond the float range is undefined behaviour.
    if (!std::isfinite(ohm) || std::fabs(ohm) > std::numeric_limits<float>::max())
        return 0.0f;
    return static_cast<float>(ohm);
}

bool IsValidSerialResistor(float ohm)
{
    return (ohm >= 0.1f && ohm <= 10.0f) || (ohm >= 100.0f && ohm <= 4000.0f);
}

std::string SerialResistorPresetText(float ohm)
{
    return FormatFixed(0, 1, ohm);
}

std::string SerialResistorStatusText(float ohm)
{
    // Rounded here first, so that a small negative value shows as "0", not "-0".
    return "Serial Resistor: " + FormatFixed(0, 0, std::nearbyint(ohm)) + " Ohm";
}
