// The theme and music step: the template list with its preview, the music
// and the time each photo stays. This version has the window only.
#pragma once

#include "editor/shell/controls/StepWindow.h"

class CQemThemeWnd : public StepWindow {
    Q_OBJECT
public:
    static constexpr int kForm = 315;
    explicit CQemThemeWnd(QWidget* parent = nullptr);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* m_content;
};
