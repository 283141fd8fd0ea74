#include "app/ToneSequences.h"

std::vector<ToneStep> ToneSequence(int flags, bool soundOn)
{
    std::vector<ToneStep> steps;
    if ((flags & kTonesPrintDone) && soundOn)
        steps.push_back({2000, 10});
    if ((flags & kTonesQuit) && soundOn)
        steps.insert(steps.end(), {{600, 70}, {900, 70}, {1200, 70}});
    if (flags & kTonesConfigError)
        steps.push_back({1200, 1000});
    return steps;
}

int SpeakerDivisor(int frequencyHz)
{
    return frequencyHz > 18 ? 1193181 / frequencyHz : 0;
}
