#include "screensaver/ScrnSaveCommandLineInfo.h"

#include <gtest/gtest.h>

TEST(ScrnSaveCommandLine, SwitchesAndWindowNumbers)
{
    const struct {
        QStringList arguments;
        QString environment;
        int mode;
        uint64_t window;
    } cases[] = {
        {{}, {}, 0, 0},
        {{"/c"}, {}, 0, 0},
        {{"c"}, {}, 0, 0},
        {{"/c:1234"}, {}, 0, 1234},
        {{"-C:1234"}, {}, 0, 1234},
        {{"/s", "C"}, {}, 2, 0},        // a bare "C" is ignored
        {{"/s", "c"}, {}, 0, 0},        // a bare "c" is configure
        {{"/a", "5678"}, {}, 0, 5678},  // the password switch is ignored: configure
        {{"/p", "5678"}, {}, 1, 5678},
        {{"/P:9"}, {}, 1, 0},
        {{"-S"}, {}, 2, 0},
        {{"/s", "12x"}, {}, 2, 0},      // not all digits
        {{"-root"}, {}, 2, 0},
        {{"--root"}, {}, 2, 0},
        {{"-window-id", "0x2a"}, {}, 1, 42},
        {{"--window-id", "77"}, {}, 1, 77},
        {{"-window-id"}, {}, 0, 0},     // missing id
        {{"--root"}, "0x400006", 1, 0x400006}, // XScreenSaver's own window
        {{}, "4194310", 1, 4194310},
        {{"/s"}, "0x400006", 2, 0},     // the classic switches decide
        {{"--root"}, "junk", 2, 0},
    };
    for (const auto& c : cases) {
        CScrnSaveCommandLineInfo info;
        info.Parse(c.arguments, c.environment);
        EXPECT_EQ(info.mode, c.mode) << c.arguments.join(' ').toStdString() << " / " << c.environment.toStdString();
        EXPECT_EQ(info.windowNumber, c.window) << c.arguments.join(' ').toStdString();
    }
}
