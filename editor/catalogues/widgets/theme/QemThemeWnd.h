// The theme and music step: the template list with its preview, the music
// and the time each photo stays. This version has the window only.
#pragma once

#include "editor/shell/controls/PendingStepWindow.h"

class CQemThemeWnd : public PendingStepWindow {
    Q_OBJECT
public:
    static constexpr int kForm = 315;
    explicit CQemThemeWnd(QWidget* parent = nullptr)
        : PendingStepWindow(QStringLiteral("ThemeWindow"), QStringLiteral("主题和音乐"),
                            QStringLiteral("Templates and music"), parent)
    {
    }
};
