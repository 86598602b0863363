// The program's icon, drawn at run time (the same picture as the installed
// ciframer.svg), so no image plugin is needed. Main thread, after the
// QApplication exists.
#pragma once

#include <QIcon>

QIcon IkonkaPrilogeniya();
