#include "app/qt/Alerts.h"

#include "app/qt/Sound.h"
#include "app/qt/TBox.h"
#include "curves/LoadState.h"

#include <cstdlib>

void* AllocBlock(std::size_t size)
{
    void* block = size < SIZE_MAX - 2 ? std::calloc(size + 2, 1) : nullptr;
    if (!block)
        OutOfMemoryAlert();
    return block;
}

void OutOfMemoryAlert()
{
    HideBox();
    Tone(1200, 1000);
    ShowBox({"FATAL ERROR", "Out Of Memory!",
                "Terminate all other running applications such as EXPLORER etc.,",
                "or inrcease the system memory, or decrease the VOXA 32 signal memory.",
                "Hint: We recommend min. 24 MByte system memory!"},
        "ok", "");
    CurveKindText = "--";
    EndProgram();
}
