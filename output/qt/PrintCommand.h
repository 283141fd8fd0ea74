#pragma once
// Printing the window picture on one page or saving it as a BMP file.

void PrintClick();
