// Elements drawn inside an ordinary window (an element host) rather than
// being windows themselves: each is a rectangle that paints itself and reacts
// to the mouse the host forwards. An element with a command id reports its
// action to the host, which passes the id on to its owner.
#pragma once

#include <QRect>
#include <QString>

class QPainter;

namespace VIRSUAL_CONTROLS {

class CElementHost;

class CRibbonElement {
public:
    explicit CRibbonElement(int id = 0) : m_id(id) {}
    virtual ~CRibbonElement() = default;
    CRibbonElement(const CRibbonElement&) = delete;
    CRibbonElement& operator=(const CRibbonElement&) = delete;

    int Id() const { return m_id; }
    QRect Rect() const { return m_rect; }
    virtual void SetRect(const QRect& rect);

    bool IsHot() const { return m_hot; }
    void SetHot(bool hot);
    bool IsPressed() const { return m_pressed; }
    void SetPressed(bool pressed);
    bool IsEnabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    // Text read out for the element (its caption or its tooltip).
    QString AccessibleName() const { return m_name; }
    void SetAccessibleName(const QString& name) { m_name = name; }

    CElementHost* Host() const { return m_host; }
    virtual void SetHost(CElementHost* host) { m_host = host; }

    virtual bool HitTest(const QPoint& point) const { return m_rect.contains(point); }
    virtual void Paint(QPainter& painter) const = 0;
    // The press, moves while the element holds the mouse, and the release.
    virtual void OnMouseDown(const QPoint&) {}
    virtual void OnMouseMove(const QPoint&) {}
    virtual void OnMouseUp(const QPoint&) {}

protected:
    // Reports the element's command id to the host.
    void NotifyCommand() const;
    void Redraw() const;

private:
    int m_id;
    QRect m_rect;
    bool m_hot = false;
    bool m_pressed = false;
    bool m_enabled = true;
    QString m_name;
    CElementHost* m_host = nullptr;
};

} // namespace VIRSUAL_CONTROLS
