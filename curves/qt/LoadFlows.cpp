#include "curves/qt/LoadFlows.h"

void F1Click() {}
void F2Click() {}
