#include "platform/qt/QtGraphicsApp.h"

#include <QApplication>
#include <cstdlib>

#include "platform/qt/QtGraphicsAccess.h"

namespace qtb {

void EnsureApplication() {
    if (QCoreApplication::instance()) return;
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Qt keeps references to argc and argv for the application's lifetime.
    static int argc = 1;
    static char name[] = "rwb";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // lives until the process ends, as the application object does
}

bool SaveBitmapAsPng(TBitmap& bitmap, const String& fileName) {
    EnsureApplication();
    return ToRgb32(bitmap).save(QString::fromStdU16String(fileName), "PNG");
}

}  // namespace qtb

// Fontconfig keeps the patterns Qt asked for until the process ends; the application object is
// never destroyed (deleting it from an exit handler races Qt's own static cleanup), so the leak
// checker of the sanitizer build is told about these library-owned blocks.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
