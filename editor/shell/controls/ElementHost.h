// A window that shows elements: it keeps them in a list, has every element
// paint itself, makes the element under the cursor hot (the previous one is
// redrawn normal), gives the mouse to the element pressed until the release,
// and passes the elements' command ids to its owner.
#pragma once

#include "RibbonElement.h"

#include <QWidget>
#include <memory>
#include <vector>

namespace VIRSUAL_CONTROLS {

class CElementHost : public QWidget {
    Q_OBJECT
public:
    explicit CElementHost(QWidget* parent = nullptr);
    ~CElementHost() override;

    // Takes the element; returns it for the caller's use.
    template <class Element>
    Element* AddElement(std::unique_ptr<Element> element)
    {
        Element* raw = element.get();
        raw->SetHost(this);
        m_elements.push_back(std::move(element));
        update(raw->Rect());
        return raw;
    }
    int ElementCount() const { return int(m_elements.size()); }
    CRibbonElement* ElementAt(const QPoint& point) const;
    CRibbonElement* HotElement() const { return m_hot; }
    CRibbonElement* CapturedElement() const { return m_captured; }

    void SendCommand(int id) { emit Command(id); }

signals:
    void Command(int id);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    void SetHot(CRibbonElement* element);

    std::vector<std::unique_ptr<CRibbonElement>> m_elements;
    CRibbonElement* m_hot = nullptr;
    CRibbonElement* m_captured = nullptr;
};

} // namespace VIRSUAL_CONTROLS
