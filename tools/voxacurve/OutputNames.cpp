#include "tools/voxacurve/OutputNames.h"

#include "curves/NameQuoting.h"

bool OutputNames::claim(const std::string& target)
{
    return m_claimed.insert(std::filesystem::absolute(target).lexically_normal()).second;
}

std::string ClaimedByAnother(const std::string& target)
{
    return "not written: " + QuotedName(target) + " is the output of another file of this run";
}
