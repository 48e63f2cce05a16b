// A slider element with a caption element beside it (to its left) that
// shows the position as a percentage ("%d%%").
#pragma once

#include "MFCRibbonFocusCaption.h"
#include "MFCRibbonSliderEx.h"

#include <memory>

namespace VIRSUAL_CONTROLS {

class CMFCRibbonPlayerSlider : public CMFCRibbonSliderEx {
public:
    CMFCRibbonPlayerSlider(int id, int minimum, int maximum, QSize captionSize = QSize(40, 16));

    const CMFCRibbonFocusCaption& Caption() const { return *m_caption; }

    void SetHost(CElementHost* host) override;
    void Paint(QPainter& painter) const override;

protected:
    void PosChanged() override;

private:
    std::unique_ptr<CMFCRibbonFocusCaption> m_caption;
};

} // namespace VIRSUAL_CONTROLS
