#include "editor/shell/steps/PhotoEditArea.h"

#include "editor/imaging/widgets/arrows/QemLRPhotoEditWnd.h"
#include "editor/imaging/widgets/editpane/PhotoEditPane.h"

#include <algorithm>

namespace {
constexpr int kWindowMinimum = 480 + 2 * 20; // the canvas between its arrows
}

PhotoEditArea::PhotoEditArea(CQemLRPhotoEditWnd* window, CPhotoEditPane* pane, QWidget* parent)
    : QWidget(parent), m_window(window), m_pane(pane)
{
    setObjectName(QStringLiteral("PhotoEditArea"));
    setAccessibleName(QStringLiteral("Photo editing"));
    m_window->setParent(this);
    m_pane->setParent(this);
}

int PhotoEditArea::PaneWidth(int areaWidth, int wanted)
{
    return std::clamp(areaWidth - kWindowMinimum, 0, std::max(0, wanted));
}

void PhotoEditArea::resizeEvent(QResizeEvent*)
{
    const int pane = PaneWidth(width(), m_pane->sizeHint().width());
    m_window->setGeometry(0, 0, width() - pane, height());
    m_pane->setGeometry(width() - pane, 0, pane, height());
}
