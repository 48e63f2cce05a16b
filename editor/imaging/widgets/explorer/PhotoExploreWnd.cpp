#include "PhotoExploreWnd.h"

#include "QemPhotoExplorerList.h"
#include "editor/core/EditorContext.h"
#include "editor/core/EditorSettings.h"
#include "editor/shell/controls/ElementHost.h"
#include "editor/shell/controls/MFCRibbonPlayerSlider.h"
#include "editor/shell/controls/QemMFCButton.h"
#include "editor/shell/controls/ShellTheme.h"

#include <QPainter>
#include <QResizeEvent>
#include <algorithm>

using VIRSUAL_CONTROLS::CElementHost;
using VIRSUAL_CONTROLS::CMFCRibbonPlayerSlider;

namespace {

constexpr int kButtonLeft = 10;
const QSize kButtonSize(110, 25);
constexpr int kSliderRightGap = 2;  // slider from R - 120 to R - 2
constexpr int kSliderWidth = 118;
constexpr int kSliderHeight = 27;   // from B - 25 to B + 2
constexpr int kCaptionRoom = 44;    // the "%d%%" caption left of the slider

// The add button's picture: a plus over a small photo.
QPixmap AddPicture(qreal dpr, const QColor& plus)
{
    const QSize size(22, 20);
    QPixmap pixmap(size * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(90, 100, 120));
    painter.setBrush(QColor(214, 232, 250));
    painter.drawRect(QRectF(0.5, 3.5, 15, 12));
    painter.setPen(Qt::NoPen);
    painter.setBrush(plus);
    painter.drawRect(QRectF(13, 7, 3, 12));
    painter.drawRect(QRectF(8.5, 11.5, 12, 3));
    return pixmap;
}

} // namespace

CPhotoExploreWnd::CPhotoExploreWnd(EditorContext& context, QWidget* parent)
    : QWidget(parent),
      m_context(context),
      m_list(new CQemPhotoExplorerList(context, this)),
      m_add(new CQemMFCButton(this, kAddCommand)),
      m_host(new CElementHost(this))
{
    setObjectName(QStringLiteral("Photo Explorer Wnd"));
    setAccessibleName(tr("Photo Explorer"));
    m_list->SetColumnGap(kColumnGap);

    const qreal dpr = devicePixelRatioF();
    m_add->SetImages(AddPicture(dpr, QColor(40, 150, 60)), AddPicture(dpr, QColor(60, 190, 80)));
    m_add->SetFaceColor(ShellTheme::Current().Colours().panel);
    m_add->setToolTip(tr("Add the selected photos to the album"));
    m_add->setAccessibleName(m_add->toolTip());
    m_add->setEnabled(false);

    auto slider = std::make_unique<CMFCRibbonPlayerSlider>(kZoomCommand, ExplorerRules::kZoomMinimum,
                                                           ExplorerRules::kZoomMaximum);
    slider->SetPos(context.Settings().thumbZoom);
    m_slider = m_host->AddElement(std::move(slider));
    m_host->setToolTip(tr("Thumbnail size"));
    m_host->setAccessibleName(m_host->toolTip());

    m_zoomTimer.setSingleShot(true);
    m_zoomTimer.setTimerType(Qt::PreciseTimer);
    m_clock.start();
    connect(&m_zoomTimer, &QTimer::timeout, this, &CPhotoExploreWnd::ZoomTimerFired);
    connect(m_host, &CElementHost::Command, this, &CPhotoExploreWnd::ElementCommand);
    connect(m_add, &QPushButton::clicked, this, &CPhotoExploreWnd::AddSelectedPhotos);
    connect(m_list, &CPhotoListCtrl::ItemsChanged, this, &CPhotoExploreWnd::UpdateAddButton);
    ApplyZoom();
}

CPhotoExploreWnd::~CPhotoExploreWnd()
{
    // The list goes first, while this window can still hear its notices.
    disconnect(m_list, nullptr, this, nullptr);
    delete m_list;
}

void CPhotoExploreWnd::SetFolder(const QString& path)
{
    m_list->ShowFolder(path);
    UpdateAddButton();
}

void CPhotoExploreWnd::AddSelectedPhotos()
{
    m_list->AddToAlbum(m_list->Selection());
}

void CPhotoExploreWnd::UpdateAddButton()
{
    m_add->setEnabled(ExplorerRules::AddButtonEnabled(m_list->Count()));
}

// ---- zoom ------------------------------------------------------------------

void CPhotoExploreWnd::ElementCommand(int id)
{
    if (id != kZoomCommand)
        return;
    if (m_zoomDelay.Changed(m_clock.elapsed()))
        m_zoomTimer.start(m_zoomDelay.DelayMs());
}

void CPhotoExploreWnd::ZoomTimerFired()
{
    const qint64 now = m_clock.elapsed();
    if (!m_zoomDelay.Fire(now)) {
        if (m_zoomDelay.Running()) // woken early: wait for the rest
            m_zoomTimer.start(int(std::max<qint64>(1, m_zoomDelay.DueAt() - now)));
        return;
    }
    ApplyZoom();
    m_context.Settings().thumbZoom = m_slider->Pos();
}

void CPhotoExploreWnd::ApplyZoom()
{
    const int side = ExplorerRules::ThumbnailSide(m_slider->Pos());
    m_list->SetThumbnailSize(side, side);
}

// ---- layout ----------------------------------------------------------------

void CPhotoExploreWnd::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int r = width();
    const int b = height();
    m_list->setGeometry(0, 0, r, std::max(0, b - kBandHeight));
    m_add->setGeometry(QRect(QPoint(kButtonLeft, b - 25), kButtonSize));
    // The host holds the slider and its caption, below the band's top line.
    const int hostLeft = std::max(kButtonLeft + kButtonSize.width(), r - kSliderRightGap - kSliderWidth - kCaptionRoom);
    const QRect host(hostLeft, b - kBandHeight + 1, std::max(0, r - hostLeft), kBandHeight - 1);
    m_host->setGeometry(host);
    m_slider->SetRect(QRect(r - kSliderRightGap - kSliderWidth - host.x(), b - 25 - host.y(), kSliderWidth,
                            kSliderHeight));
    m_host->update();
    ApplyZoom();
}

void CPhotoExploreWnd::paintEvent(QPaintEvent*)
{
    const ShellColours& colours = ShellTheme::Current().Colours();
    const QRect band(0, height() - kBandHeight, width(), kBandHeight);
    QPainter painter(this);
    painter.fillRect(band, colours.panel);
    painter.setPen(colours.shadow);
    painter.drawLine(band.topLeft(), band.topRight());
}
