#include "output/qt/PrintCommand.h"

void PrintClick() {}
