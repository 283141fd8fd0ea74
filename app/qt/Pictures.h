#pragma once
// The program's own pictures: the splash picture "Start" and the read-out cursor "1".

#include <QCursor>
#include <QImage>

QImage MakeSplashPicture();
// The read-out cursor "1": a 32 x 32 circle with hair lines broken by a small
// ring, hot spot (15, 14); made on first use (start-up installs it).
const QCursor& ReadOutCursor();
