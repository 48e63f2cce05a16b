// The generate step: the output kinds, the generate commands and the upload.
// This version has the window only.
#pragma once

#include "editor/shell/controls/StepWindow.h"

class CQemGenerateWnd : public StepWindow {
    Q_OBJECT
public:
    static constexpr int kForm = 314;
    explicit CQemGenerateWnd(QWidget* parent = nullptr);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* m_content;
};
