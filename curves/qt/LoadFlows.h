#pragma once
// The two load flows of the soft keys F1 and F2.

#include <string>

void F1Click();
void F2Click();
