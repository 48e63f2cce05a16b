// A text element bound to a partner element and placed relative to it.
// Placement 5 puts it immediately to the partner's left, vertically centred
// on it; other placements leave it where it was put.
#pragma once

#include "RibbonElement.h"

#include <QSize>

namespace VIRSUAL_CONTROLS {

class CMFCRibbonFocusCaption : public CRibbonElement {
public:
    static constexpr int kLeftOfPartner = 5;

    CMFCRibbonFocusCaption(const CRibbonElement* partner, int placement, QSize size, int id = 0);

    QString Text() const { return m_text; }
    void SetText(const QString& text);
    int Placement() const { return m_placement; }
    // Moves the caption after its partner moved.
    void Reposition();

    void Paint(QPainter& painter) const override;
    void OnMouseUp(const QPoint& point) override;

private:
    const CRibbonElement* m_partner;
    int m_placement;
    QSize m_size;
    QString m_text;
};

} // namespace VIRSUAL_CONTROLS
