// The generate step: the output kinds, the generate commands and the upload.
// This version has the window only.
#pragma once

#include "editor/shell/controls/PendingStepWindow.h"

class CQemGenerateWnd : public PendingStepWindow {
    Q_OBJECT
public:
    static constexpr int kForm = 314;
    explicit CQemGenerateWnd(QWidget* parent = nullptr)
        : PendingStepWindow(QStringLiteral("GenerateWindow"), QStringLiteral("生成影集"), QStringLiteral("Generate album"),
                            parent)
    {
    }
};
