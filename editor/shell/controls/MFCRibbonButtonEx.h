// A button element in an ordinary window: reports its command id to the host
// when clicked (pressed and released over it).
#pragma once

#include "RibbonElement.h"

#include <QPixmap>

namespace VIRSUAL_CONTROLS {

class CMFCRibbonButtonEx : public CRibbonElement {
public:
    explicit CMFCRibbonButtonEx(int id, const QString& text = QString(), const QPixmap& picture = QPixmap());

    QString Text() const { return m_text; }
    void SetText(const QString& text);
    void SetPicture(const QPixmap& picture);

    void Paint(QPainter& painter) const override;
    void OnMouseUp(const QPoint& point) override;

private:
    QString m_text;
    QPixmap m_picture;
};

} // namespace VIRSUAL_CONTROLS
